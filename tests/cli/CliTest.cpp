// The command-line tool as scripts use it: arguments in, JSON or an error line out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <cmath>
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

namespace ferrox::testing {
namespace {

TEST(CliEquity, StreetsAsFractionsWithNullForPassedStreets) {
  const Output o = RunCli("equity --hero AsKs --op QhQd --board JsTs6c7h --json");
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const auto j = o.Json();
  EXPECT_TRUE(j["streets"]["flop"].is_null());
  const auto river = j["streets"]["river"];
  EXPECT_EQ(river["games"], 28);  // 36 - 4 board - 4 hole cards
  const double hero = river["hero"].get<double>();
  EXPECT_NEAR(hero + river["ops"][0].get<double>(), 1.0, 1e-12);
  EXPECT_NEAR(hero * 28, std::round(hero * 28), 1e-9) << "a whole number of rivers";
  EXPECT_EQ(j["notice"], "");
  EXPECT_GE(j["ms"].get<double>(), 0.0);
}

TEST(CliEquity, SeededMonteCarloRepeatsAndSwitchNotice) {
  const std::string args = "equity --hero 'QQ+,AKs' --op 'JJ,TT' --op '99,AQs' --montecarlo --runs 5000 --seed 3 --json";
  const auto a = RunCli(args).Json(), b = RunCli(args).Json();
  EXPECT_EQ(a["streets"], b["streets"]);
  EXPECT_EQ(a["streets"]["river"]["games"], 5000);
  const auto big = RunCli("equity --hero 30% --op 30% --op 30% --runs 2000 --json").Json();
  EXPECT_EQ(big["notice"], "Calculation time will be very long! Monte-Carlo option will be used!");
  EXPECT_EQ(big["streets"]["river"]["games"], 2000);
}

TEST(CliEquity, RefusedRequestsPrintTheMessage) {
  const std::pair<const char*, const char*> cases[] = {
      {"equity --hero AA --op KK --board AhKd", "Error board"},
      {"equity --hero tt --op KK", "Bad Hero range!"},
      {"equity --hero AA --op KK --op xyz", "Error in Op2 xyz"},
      {"equity --hero AA --op AA --board AsAd6c", "Please reenter card ranges!"},
      {"equity --hero QQ --op JJ --board AhKd7c --dead Kd", "Please reenter dead cards!"},
      {"equity --hero QQ --op JJ --runs 999", "--runs"},
      {"equity --hero QQ --op JJ --enumerate --montecarlo", "excludes"}};
  for (const auto& [args, message] : cases) {
    const Output o = RunCli(args);
    EXPECT_EQ(o.exitCode, 2) << args;
    EXPECT_TRUE(o.out.empty()) << args;
    EXPECT_NE(o.err.find(message), std::string::npos) << args << ": " << o.err;
  }
}

TEST(CliViews, HeatmapHotnessAndDistribution) {
  const auto dir = std::filesystem::temp_directory_path();
  const auto file = dir / ("ferrox_cli_" + std::to_string(::getpid()) + ".hmp");
  const Output h = RunCli("heatmap --op 20% --json --out " + file.string());
  ASSERT_EQ(h.exitCode, 0) << h.err;
  const auto rows = h.Json()["rows"];
  ASSERT_EQ(rows.size(), 81u);
  EXPECT_EQ(rows[0]["hand"], "AA");
  EXPECT_EQ(rows[80]["hand"], "66");
  EXPECT_EQ(ReadAll(file).substr(0, 45), "Equity Calculation for all hands vs range 20%");
  std::filesystem::remove(file);
  EXPECT_EQ(RunCli("heatmap --op xyz").err, "Error in Op1 xyz\n");

  const auto hot = RunCli("hotness --hero AsKs --op QQ,JJ --board JsTs6c --seed 1 --json").Json();
  EXPECT_EQ(hot["hero"].size(), 31u);
  EXPECT_EQ(hot["caption"], "Equity at next board card on flop: Js Ts 6c");
  EXPECT_EQ(RunCli("hotness --hero AsKs --op QQ").exitCode, 2) << "needs a flop or a turn";

  const auto dist = RunCli("distribution --hero AsKs --op QQ,JJ --board JsTs6c --seed 1 --runs 1000 --json").Json();
  EXPECT_EQ(dist["name"], "Turn");
  EXPECT_EQ(dist["colour"], "#0080C0");
  EXPECT_EQ(dist["deals"], 31);
  EXPECT_EQ(dist["points"].size(), 101u);
}

}  // namespace
}  // namespace ferrox::testing
