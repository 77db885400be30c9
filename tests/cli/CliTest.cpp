// The command-line tool as scripts use it: arguments in, JSON or an error line out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace ferrox::testing {
namespace {

struct Output {
  int exitCode = -1;
  std::string out, err;
  nlohmann::json Json() const { return nlohmann::json::parse(out); }
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

Output RunCli(const std::string& args) {
  const auto dir = std::filesystem::temp_directory_path();
  const auto out = dir / ("ferrox_cli_out_" + std::to_string(::getpid()));
  const auto err = dir / ("ferrox_cli_err_" + std::to_string(::getpid()));
  const std::string command = std::string(FERROX_BIN_DIR) + "/ferrox6plus-cli " + args + " >" +
                              out.string() + " 2>" + err.string();
  const int status = std::system(command.c_str());
  Output result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(out), ReadAll(err)};
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return result;
}

TEST(CliRange, PrintsResultCountCanonicalTextAndCombos) {
  const Output o = RunCli("range 'AKs, 77+, AsKh'");
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const auto j = o.Json();
  EXPECT_EQ(j["result"], 1);
  EXPECT_EQ(j["count"], 4 + 48 + 1);
  EXPECT_EQ(j["text"], "77+,AKs,AsKh");
  ASSERT_EQ(j["combos"].size(), 53u);
  for (const auto& c : j["combos"]) EXPECT_EQ(c.get<std::string>().size(), 4u);
  // The canonical text names the same combinations.
  const auto again = RunCli("range '" + j["text"].get<std::string>() + "'").Json();
  EXPECT_EQ(again["combos"], j["combos"]);
}

TEST(CliRange, ParserResultsAndOrderings) {
  EXPECT_EQ(RunCli("range tt+").Json()["result"], 2);
  EXPECT_EQ(RunCli("range xyz").Json()["result"], 0);
  EXPECT_EQ(RunCli("range --rules 1 random").Json()["count"], 630);
  // The shipped orderings sit next to the tool.
  for (const char* rules : {"0", "1"}) {
    const auto j = RunCli(std::string("range --rules ") + rules + " 20%").Json();
    EXPECT_EQ(j["result"], 1);
    EXPECT_GE(j["count"].get<int>(), 126) << rules;
    EXPECT_LT(j["count"].get<int>(), 126 + 12) << rules;
  }
}

TEST(CliClassify, MadeHandDrawsAndOuts) {
  const Output o = RunCli("classify AhKd Kc7s6d");
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const auto j = o.Json();
  EXPECT_EQ(j["category"], 2);
  EXPECT_EQ(j["name"], "One Pair");
  EXPECT_EQ(j["kind"], 2);
  EXPECT_EQ(j["draws"], nlohmann::json({0, 0, 0}));
  ASSERT_EQ(j["outs"].size(), 11u);
  EXPECT_EQ(j["outs"][5], 2);

  const auto river = RunCli("classify --rules 1 9h8h 'Th 7c 6s 6d 6c'").Json();
  EXPECT_EQ(river["name"], "Straight");
  EXPECT_FALSE(river.contains("outs"));
}

TEST(CliErrors, BadInputGivesOneLineOnStderrAndExitCode2) {
  for (const char* args : {"classify AhKx Kc7s6d", "classify AhAh Kc7s6d", "classify Ah Kc7s6d",
                           "classify AhKd Kc7s", "classify AhKd Kc7s6d9d8d7d",
                           "classify AhKd AhKc7s", "classify Ah5d Kc7s6d",
                           "range --rules 2 AA", "range", "nonsense"}) {
    const Output o = RunCli(args);
    EXPECT_EQ(o.exitCode, 2) << args;
    EXPECT_TRUE(o.out.empty()) << args << ": " << o.out;
    EXPECT_FALSE(o.err.empty()) << args;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << args << ": " << o.err;
  }
}

}  // namespace
}  // namespace ferrox::testing
