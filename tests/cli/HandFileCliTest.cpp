// The command-line tool computing from a hand file (--hand): the same numbers as the same
// request typed, the file's rule set and evaluation unless the line gives them, and one
// line on stderr for what it refuses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/cli/CliRun.h"
#include "tests/support/FileTestSupport.h"

namespace ferrox::testing {
namespace {

using Json = nlohmann::ordered_json;

// A hand file as the README describes it, written here rather than by the program.
struct HandFile {
  std::vector<std::string> ranges;  // the Hero first; the rest of the six boxes empty
  std::string board = "";
  std::string deadText = "";
  std::string deadCards = "";
  std::string rules = "6+";
  std::string method = "exact";
  int runs = 10'000;
  Json editors = Json::array();
  int version = 1;

  std::string Text() const {
    Json players = Json::array();
    for (std::size_t p = 0; p < 6; ++p)
      players.push_back({{"name", p == 0 ? "Hero" : "Op" + std::to_string(p)},
                         {"range", p < ranges.size() ? ranges[p] : ""},
                         {"hand", ""}});
    return Json{{"format", "ferrox6plus-hand"},
                {"version", version},
                {"rules", rules},
                {"mode", "use"},
                {"evaluation", {{"method", method}, {"runs", runs}}},
                {"board", board},
                {"dead", {{"text", deadText}, {"cards", deadCards}}},
                {"players", players},
                {"editors", editors}}
        .dump(2);
  }
};

class CliHandFile : public ::testing::Test {
 protected:
  std::string Write(const HandFile& hand, const std::string& name = "hand.f6hand") {
    WriteBytes(dir_ / name, hand.Text());
    return (dir_ / name).string();
  }
  static nlohmann::json Streets(const std::string& args) {
    const Output o = RunCli(args + " --json");
    EXPECT_EQ(o.exitCode, 0) << args << ": " << o.err;
    return o.exitCode == 0 ? o.Json()["streets"] : nlohmann::json();
  }

  ScratchFolder dir_{"cli-hand"};
};

TEST_F(CliHandFile, EquityIsTheEquityOfTheSameRequestTyped) {
  const std::string file = Write({.ranges = {"AKs, 77+", "QQ+", "", "JJ"}, .board = "AhKd7c", .deadText = "Qs",
                                  .deadCards = "Qs"});
  const nlohmann::json typed = Streets("equity --hero 'AKs, 77+' --op QQ+ --op '' --op JJ --board AhKd7c --dead Qs");
  EXPECT_EQ(Streets("equity --hand " + file), typed);
  EXPECT_FALSE(typed["river"].is_null());

  // An open editor's range is the Hero's, less the board's Ah: AsKs alone, not AKs.
  HandFile edited{.ranges = {"AKs", "QQ+"}, .board = "AhKd7c"};
  edited.editors.push_back({{"player", 0}, {"text", "AKs"}, {"combos", {"AsKs", "AhKh"}}, {"band", {0, 1}}});
  const nlohmann::json fromEditor = Streets("equity --hand " + Write(edited));
  EXPECT_EQ(fromEditor, Streets("equity --hero AsKs --op QQ+ --board AhKd7c"));
  EXPECT_NE(fromEditor, Streets("equity --hero AKs --op QQ+ --board AhKd7c"));
}

TEST_F(CliHandFile, TheFilesRulesAndEvaluationApplyUnlessTheLineGivesThem) {
  // A set against a straight: the rule set decides.
  const std::string typed = "equity --hero 77 --op T9s --board 7c8d6h";
  ASSERT_NE(Streets(typed + " --rules 0"), Streets(typed + " --rules 1"));
  const std::string file =
      Write({.ranges = {"77", "T9s"}, .board = "7c8d6h", .rules = "straight-beats-set", .method = "montecarlo",
             .runs = 3000});
  const std::string hand = "equity --hand " + file;
  EXPECT_EQ(Streets(hand + " --enumerate"), Streets(typed + " --rules 1"));
  EXPECT_EQ(Streets(hand + " --enumerate --rules 0"), Streets(typed + " --rules 0"));
  EXPECT_EQ(Streets(hand + " --seed 5"), Streets(typed + " --rules 1 --montecarlo --runs 3000 --seed 5"));
  EXPECT_EQ(Streets(hand + " --seed 5")["river"]["games"], 3000);
  EXPECT_EQ(Streets(hand + " --seed 5 --runs 2000"), Streets(typed + " --rules 1 --montecarlo --runs 2000 --seed 5"));
}

TEST_F(CliHandFile, HotnessAndDistributionReadTheFileToo) {
  const std::string file = Write({.ranges = {"AsKs", "QQ,JJ"}, .board = "JsTs6c"});
  const Output hot = RunCli("hotness --hand " + file + " --seed 1 --json");
  ASSERT_EQ(hot.exitCode, 0) << hot.err;
  const Output typedHot = RunCli("hotness --hero AsKs --op QQ,JJ --board JsTs6c --seed 1 --json");
  EXPECT_EQ(hot.Json()["hero"], typedHot.Json()["hero"]);
  EXPECT_EQ(hot.Json()["op1"], typedHot.Json()["op1"]);

  const Output dist = RunCli("distribution --hand " + file + " --json");
  ASSERT_EQ(dist.exitCode, 0) << dist.err;
  const Output typedDist = RunCli("distribution --hero AsKs --op QQ,JJ --board JsTs6c --json");
  EXPECT_EQ(dist.Json()["histogram"], typedDist.Json()["histogram"]);
  EXPECT_EQ(dist.Json()["points"], typedDist.Json()["points"]);
}

TEST_F(CliHandFile, TypedHandsAndAFileExcludeEachOther) {
  const std::string file = Write({.ranges = {"AA", "KK"}});
  for (const char* command : {"equity", "hotness", "distribution"})
    for (const std::string option : {"--hero", "--op", "--board", "--dead"}) {
      const std::string value = option == "--board" ? " AhKd7c" : option == "--dead" ? " Qs" : " QQ";
      const std::string err = Refusal(std::string(command) + " --hand " + file + " " + option + value);
      EXPECT_TRUE(Has(err, "--hand excludes " + option)) << err;
    }
  EXPECT_EQ(Refusal("equity --op KK"), "--hero is required (or --hand FILE)\n");
  EXPECT_EQ(Refusal("distribution --hero AA"), "--op is required (or --hand FILE)\n");
}

TEST_F(CliHandFile, AFileThatIsRefusedIsNamedWithTheReason) {
  const std::string missing = (dir_ / "missing.f6hand").string();
  EXPECT_EQ(Refusal("equity --hand " + missing), "Cannot read " + missing + ": No such file or directory\n");

  const std::string damaged = (dir_ / "damaged.f6hand").string();
  WriteBytes(damaged, HandFile{.ranges = {"AA", "KK"}}.Text().substr(0, 80));
  const std::string broken = Refusal("equity --hand " + damaged);
  EXPECT_TRUE(broken.starts_with("Cannot read " + damaged + ": not a hand file: parse error at line ")) << broken;

  const std::string newer = Write({.ranges = {"AA", "KK"}, .version = 2}, "newer.f6hand");
  EXPECT_EQ(Refusal("equity --hand " + newer),
            "Cannot read " + newer +
                ": written by a newer version of Ferrox6Plus (format 2; this version reads format 1)\n");

  const std::string fifo = (dir_ / "fifo.f6hand").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Refusal("hotness --hand " + fifo), "Cannot read " + fifo + ": not a regular file\n");
}

TEST_F(CliHandFile, ARequestTheFileMakesIsRefusedAsTheProgramRefusesIt) {
  EXPECT_EQ(Refusal("equity --hand " + Write({.ranges = {"AKs, A|", "KK"}})),
            "Bad Hero range! ('A|' not understood in 'AKs, A|')\n");
  // The box typed after its editor agreed, and no range: read from the box, as Evaluate does.
  HandFile stale{.ranges = {"AA", "xyz"}};
  stale.editors.push_back({{"player", 1}, {"text", "KK"}, {"combos", {"KsKh"}}, {"band", {0, 1}}});
  EXPECT_EQ(Refusal("equity --hand " + Write(stale)), "Error in Op1 xyz ('xyz' not understood)\n");
  EXPECT_TRUE(Refusal("equity --hand " + Write({.ranges = {"AA", "KK"}, .board = "AhKd"}))
                  .starts_with("Error board (the board has 2 cards;"));
  const std::string thirtyDead =
      "6c 6d 6h 6s 7c 7d 7h 7s 8c 8d 8h 8s 9c 9d 9h 9s Tc Td Th Ts Jc Jd Jh Js Qc Qd Qh Qs Kc Ks";
  EXPECT_TRUE(Refusal("equity --hand " + Write({.ranges = {"AhAd", "KhKd"}, .deadText = thirtyDead}))
                  .starts_with("No deal is possible: "));
}

}  // namespace
}  // namespace ferrox::testing
