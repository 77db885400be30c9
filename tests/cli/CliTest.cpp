// The command-line tool as scripts use it: arguments in, JSON or an error line out.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <thread>
#include <sstream>

#include "tests/cli/CliRun.h"

namespace ferrox::testing {
namespace {

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

TEST(CliRange, KeptAndSkippedSayWhatTheCombinationsAre) {
  // A refused text lists what was read before the refusal; "kept" says it is not a range.
  const auto refused = RunCli("range 'AKs, A|, QQ'").Json();
  EXPECT_EQ(refused["result"], 0);
  EXPECT_EQ(refused["kept"], false);
  EXPECT_EQ(refused["skipped"], nlohmann::json({"A|"}));
  EXPECT_EQ(refused["count"], 4) << "AKs was read before A| refused the text";

  const auto partly = RunCli("range 'AKs xyz, QQ'").Json();
  EXPECT_EQ(partly["result"], 1);
  EXPECT_EQ(partly["kept"], true);
  EXPECT_EQ(partly["skipped"], nlohmann::json({"xyz"}));
  EXPECT_EQ(partly["count"], 4 + 6);

  const auto clean = RunCli("range 'AKs, 77+'").Json();
  EXPECT_EQ(clean["kept"], true);
  EXPECT_EQ(clean["skipped"], nlohmann::json::array());
  const auto nothing = RunCli("range 'xyz abc'").Json();
  EXPECT_EQ(nothing["kept"], false);
  EXPECT_EQ(nothing["skipped"], nlohmann::json({"xyz", "abc"}));
  EXPECT_EQ(RunCli("range tt+").Json()["kept"], false) << "a heatmap request is no range";
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
  EXPECT_EQ(river["hero_se"], 0.0) << "counted exactly";
  EXPECT_EQ(river["ops_se"][0], 0.0);
}

TEST(CliEquity, SeededMonteCarloRepeatsAndSwitchNotice) {
  const std::string args = "equity --hero 'QQ+,AKs' --op 'JJ,TT' --op '99,AQs' --montecarlo --runs 5000 --seed 3 --json";
  const auto a = RunCli(args).Json(), b = RunCli(args).Json();
  EXPECT_EQ(a["streets"], b["streets"]);
  EXPECT_EQ(a["streets"]["river"]["games"], 5000);
  // Each sampled equity comes with its standard error: about sqrt(e (1 - e) / games) when
  // ties are rare.
  const auto river = a["streets"]["river"];
  const double hero = river["hero"].get<double>(), se = river["hero_se"].get<double>();
  EXPECT_NEAR(se, std::sqrt(hero * (1 - hero) / 5000), 0.2 * se);
  ASSERT_EQ(river["ops_se"].size(), 2u);
  EXPECT_GT(river["ops_se"][1].get<double>(), 0.0);
  EXPECT_TRUE(a["fallback"].is_null()) << "Monte-Carlo as asked";
  const auto big = RunCli("equity --hero 50% --op 50% --op 50% --op 50% --runs 2000 --json").Json();
  EXPECT_EQ(big["notice"], "Calculation time will be very long! Monte-Carlo option will be used!");
  // In place of the exact count: at least the runs, then on until every standard error is
  // under the target or the time is spent.
  const auto fallback = big["fallback"];
  EXPECT_EQ(fallback["target_se"], 0.001);
  EXPECT_EQ(fallback["limit_s"], 2.0);
  bool allUnder = true;
  for (const char* street : {"river", "turn", "flop"}) {
    const auto played = big["streets"][street];
    EXPECT_GE(played["games"].get<int64_t>(), 2000) << street;
    allUnder = allUnder && played["hero_se"].get<double>() < 0.001;
    for (const auto& se : played["ops_se"]) allUnder = allUnder && se.get<double>() < 0.001;
  }
  EXPECT_EQ(fallback["stopped_by"], allUnder ? "target" : "time");
  const Output text = RunCli("equity --hero 50% --op 50% --op 50% --op 50% --runs 2000");
  EXPECT_NE(text.out.find("\nMonte-Carlo until standard error under 0.10% or 2 s: "), std::string::npos) << text.out;
  // Three pairs preflop are counted exactly now; --force-exact keeps a large request exact.
  const auto pairs = RunCli("equity --hero AA --op KK --op QQ --json").Json();
  EXPECT_EQ(pairs["notice"], "");
  EXPECT_TRUE(pairs["fallback"].is_null());
  EXPECT_EQ(pairs["streets"]["flop"]["games"], 216 * 4060);  // 6 x 6 x 6 deals, C(30, 3) flops
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
  const std::string op = RunCli("heatmap --op xyz").err;
  EXPECT_EQ(op.rfind("Error in Op1 xyz (", 0), 0u) << op;
  EXPECT_TRUE(op.find("'xyz' not understood") != std::string::npos) << op;

  const auto hot = RunCli("hotness --hero AsKs --op QQ,JJ --board JsTs6c --seed 1 --json").Json();
  EXPECT_EQ(hot["hero"].size(), 31u);
  EXPECT_EQ(hot["caption"], "Equity at next board card on flop: Js Ts 6c");
  EXPECT_EQ(RunCli("hotness --hero AsKs --op QQ").exitCode, 2) << "needs a flop or a turn";
  EXPECT_EQ(hot["opponent"], "Op1");
  EXPECT_EQ(hot["exact"], true) << "every river of a heads-up flop is counted";
  // The one opponent given in a later row: the same table, named after that row.
  const auto later = RunCli("hotness --hero AsKs --op '' --op QQ,JJ --board JsTs6c --seed 1 --json").Json();
  EXPECT_EQ(later["opponent"], "Op2");
  EXPECT_EQ(later["op1"].size(), 31u);
  EXPECT_EQ(later["op1"], hot["op1"]);
  EXPECT_EQ(later["hero"], hot["hero"]);
  EXPECT_TRUE(RunCli("hotness --hero AsKs --op '' --op QQ,JJ --board JsTs6c").out.find("\nOp2 range: QQ,JJ\n") !=
              std::string::npos);

  const auto dist = RunCli("distribution --hero AsKs --op QQ,JJ --board JsTs6c --seed 1 --runs 1000 --json").Json();
  EXPECT_EQ(dist["name"], "Turn");
  EXPECT_EQ(dist["colour"], "#0080C0");
  EXPECT_EQ(dist["deals"], 31);
  EXPECT_EQ(dist["points"].size(), 101u);
}

}  // namespace
}  // namespace ferrox::testing

namespace ferrox::testing {
namespace {

TEST(CliOptions, EveryNumberIsAWholeNumberInItsRange) {
  const std::pair<const char*, const char*> refused[] = {
      {"equity --hero AA --op KK --seed -1", "--seed"},
      {"equity --hero AA --op KK --seed 18446744073709551616", "--seed"},
      {"equity --hero AA --op KK --seed 1e23", "--seed"},
      {"equity --hero AA --op KK --seed 0x10", "--seed"},
      {"equity --hero AA --op KK --seed ' 5'", "--seed"},
      {"hotness --hero AsKs --op QQ --board JsTs6c --seed 1.5", "--seed"},
      {"equity --hero AA --op KK --montecarlo --runs 1e4", "--runs"},
      {"distribution --hero AA --op KK --runs 5000.5", "--runs"},
      {"distribution --hero AA --op KK --runs 4294967296000", "--runs"},
      {"equity --hero AA --op KK --rules 0x1", "--rules"},
      {"range --rules 1.0 AA", "--rules"},
      {"classify --rules -1 AhKd Kc7s6d", "--rules"},
      {"heatmap --op AA --rules 2", "--rules"}};
  for (const auto& [args, option] : refused) EXPECT_TRUE(Has(Refusal(args), option)) << args;

  // The largest seed is a seed like any other, and a seed still repeats its result.
  const std::string seeded = "equity --hero 'QQ+' --op 'JJ,TT' --op 99 --montecarlo --runs 2000 --json --seed ";
  const Output top = RunCli(seeded + "18446744073709551615");
  ASSERT_EQ(top.exitCode, 0) << top.err;
  EXPECT_EQ(top.Json()["streets"], RunCli(seeded + "18446744073709551615").Json()["streets"]);
  EXPECT_EQ(RunCli("equity --hero AA --op KK --runs 01000 --json").exitCode, 0) << "leading zeros are decimal";
}

TEST(CliOptions, DeadCardsAreReadAsStrictlyAsTheBoard) {
  for (const char* dead : {"Zz", "5c", "'hello 2s'", "AKs", "'Ah Ah'", "'Ah,Kd,'x"})
    EXPECT_TRUE(Has(Refusal(std::string("equity --hero QQ --op JJ --dead ") + dead), "--dead")) << dead;
  // Cards that are read count: dead queens leave Hero fewer hands.
  const auto none = RunCli("equity --hero QQ --op JJ --json").Json();
  const auto dead = RunCli("equity --hero QQ --op JJ --dead 'Qh, Qd' --json").Json();
  EXPECT_LT(dead["streets"]["river"]["games"], none["streets"]["river"]["games"]);
}

TEST(CliErrors, EchoedInputIsEscapedAndCut) {
  const std::string control = Refusal("equity --hero AA --op \"$(printf 'x\\ny\\033[31m')\"");
  EXPECT_TRUE(Has(control, "Error in Op1 x\\ny\\x1b[31m")) << control;
  EXPECT_FALSE(Has(control, "\033"));

  const std::string longText = Refusal("equity --hero AA --op " + std::string(100'000, 'x'));
  EXPECT_LT(longText.size(), 300u);
  EXPECT_TRUE(Has(longText, "Error in Op1 xxx"));
  EXPECT_TRUE(Has(longText, "...\n"));
  const std::string longSeed = Refusal("equity --hero AA --op KK --seed " + std::string(5'000, '9'));
  EXPECT_LT(longSeed.size(), 200u);
}

TEST(CliErrors, VagueMessagesGetTheReasonAfterThem) {
  const std::string hero = Refusal("equity --hero 'AKs, A|, QQ' --op KK");
  EXPECT_EQ(hero.rfind("Bad Hero range! ", 0), 0u) << hero;
  EXPECT_TRUE(Has(hero, "'A|'")) << hero;
  EXPECT_TRUE(Has(Refusal("equity --hero tt --op KK"), "heatmap request"));

  const std::string board = Refusal("equity --hero AsKs --op QQ --board Ks7c6d");
  EXPECT_EQ(board.rfind("Please reenter card ranges! ", 0), 0u) << board;
  EXPECT_TRUE(Has(board, "Ks of Hero's hand AsKs")) << board;
  EXPECT_TRUE(Has(Refusal("equity --hero AsKs --op KsKh --board 7c6d8h"), "Ks is in both Hero's and Op1's"));
  EXPECT_TRUE(Has(Refusal("equity --hero QQ --op JJ --board AhKd7c --dead Kd"), "Kd is both on the board and dead"));

  const std::string write = Refusal("heatmap --op AA --out /nonexistent-folder/x.hmp");
  EXPECT_EQ(write.rfind("Cannot write /nonexistent-folder/x.hmp", 0), 0u) << write;
  EXPECT_TRUE(Has(write, "No such file or directory")) << write;

  const std::string command = Refusal("bogus");
  EXPECT_EQ(command.rfind("A subcommand is required", 0), 0u) << command;
  EXPECT_TRUE(Has(command, "'bogus'")) << command;
  for (const char* name : {"range", "classify", "equity", "heatmap", "hotness", "distribution"})
    EXPECT_TRUE(Has(command, name)) << command;
}

TEST(CliErrors, AnOpponentsErrorSaysWhatInItGaveNoRange) {
  const std::string op = Refusal("equity --hero AA --op KK --op 'QQ, A|'");
  EXPECT_EQ(op.rfind("Error in Op2 QQ, A| (", 0), 0u) << op;
  EXPECT_TRUE(Has(op, "'A|' not understood in 'QQ, A|')\n")) << op;
  EXPECT_TRUE(Has(Refusal("equity --hero AA --op tt"), "heatmap request")) << "an opponent's text";
  EXPECT_TRUE(Has(Refusal("hotness --hero AA --op 0% --board JsTs6c"), "Error in Op1 0% ('0%' names no hand)"));
  const std::string heatmap = Refusal("heatmap --op 'QQ, A|'");
  EXPECT_EQ(heatmap.rfind("Error in Op1 QQ, A| (", 0), 0u) << heatmap;
  EXPECT_TRUE(Has(heatmap, "'A|' not understood")) << heatmap;
}

// 32 cards outside AhAd and KhKd; 30 of them dead leave 2 for a board of 5.
constexpr const char* kThirtyDead =
    "'6c 6d 6h 6s 7c 7d 7h 7s 8c 8d 8h 8s 9c 9d 9h 9s Tc Td Th Ts Jc Jd Jh Js Qc Qd Qh Qs Kc Ks'";

TEST(CliErrors, ARequestWithNoPossibleDealIsRefused) {
  for (const char* command : {"equity", "distribution"}) {
    const std::string err =
        Refusal(std::string(command) + " --hero AhAd --op KhKd --json --dead " + kThirtyDead);
    EXPECT_EQ(err.rfind("No deal is possible: ", 0), 0u) << command << ": " << err;
  }
  // A flop and 28 dead cards leave 1 card for the 2 still to come.
  const std::string hotness = Refusal(
      "hotness --hero AhAd --op KhKd --board 6c6d6h --dead "
      "'6s 7c 7d 7h 7s 8c 8d 8h 8s 9c 9d 9h 9s Tc Td Th Ts Jc Jd Jh Js Qc Qd Qh Qs Kc Ks Ac'");
  EXPECT_TRUE(Has(hotness, "No deal is possible")) << hotness;
  EXPECT_EQ(RunCli("hotness --hero AhAd --op KhKd --board 6c6d6h --dead "
                   "'6s 7c 7d 7h 7s 8c 8d 8h 8s 9c 9d 9h 9s Tc Td Th Ts Jc Jd Jh Js Qc Qd Qh Qs Kc Ks'")
                .exitCode,
            0)
      << "one card fewer dead leaves the two the board needs";
}

// The progress line shows at once with this, when stderr is a terminal.
class ProgressShownAtOnce : public ::testing::Test {
 protected:
  ProgressShownAtOnce() { ::setenv("FERROX_PROGRESS_AFTER_MS", "0", 1); }
  ~ProgressShownAtOnce() override { ::unsetenv("FERROX_PROGRESS_AFTER_MS"); }
};

TEST_F(ProgressShownAtOnce, NothingExtraWhenStderrIsNoTerminal) {
  for (const char* args : {"equity --hero 'QQ+' --op 'JJ,TT' --op 99 --montecarlo --runs 20000 --json",
                           "hotness --hero AsKs --op QQ,JJ --board JsTs6c --json", "heatmap --op 20% --json",
                           "distribution --hero AsKs --op QQ,JJ --board JsTs6c --runs 1000 --json"}) {
    const Output o = RunCli(args);
    EXPECT_EQ(o.exitCode, 0) << args;
    EXPECT_EQ(o.err, "") << args;
    EXPECT_NO_THROW(o.Json()) << args;
  }
}

TEST_F(ProgressShownAtOnce, OnATerminalTheLineIsRewrittenInPlaceAndCleared) {
  const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  const std::string name = ::ptsname(terminal);
  const int side = ::open(name.c_str(), O_RDWR | O_NOCTTY);  // held open so no output is lost
  ASSERT_GE(side, 0);
  const Output o = RunCli("distribution --hero AsKs --op QQ,JJ --board JsTs6c --runs 1000 --json", name);
  EXPECT_EQ(o.exitCode, 0);
  EXPECT_NO_THROW(o.Json()) << "stdout holds the JSON only";
  ::fcntl(terminal, F_SETFL, O_NONBLOCK);
  std::string shown;
  char buffer[4096];
  for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
  ::close(side);
  ::close(terminal);

  ASSERT_EQ(shown.rfind("\rdistribution: ", 0), 0u) << shown;
  EXPECT_TRUE(Has(shown, "% (")) << shown;
  EXPECT_EQ(shown.find('\n'), std::string::npos) << "rewritten, never a new line";
  // Cleared at the end: blanks over the widest text, back to the start of the line.
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown.back(), '\r');
  const std::size_t lastStart = shown.rfind('\r', shown.size() - 2);
  const std::string blanks = shown.substr(lastStart + 1, shown.size() - lastStart - 2);
  EXPECT_EQ(blanks, std::string(blanks.size(), ' '));
  EXPECT_GE(blanks.size(), std::string("distribution: 0% (0 s)").size());
}

}  // namespace
}  // namespace ferrox::testing

namespace ferrox::testing {
namespace {

// Ctrl+C stops a long run: the program says so and exits with 130, printing no result.
TEST(CliInterrupt, CtrlCStopsALongRun) {
  const auto dir = std::filesystem::temp_directory_path();
  const auto out = dir / ("ferrox_cli_int_out_" + std::to_string(::getpid()));
  const auto err = dir / ("ferrox_cli_int_err_" + std::to_string(::getpid()));
  const std::string cli = std::string(FERROX_BIN_DIR) + "/ferrox6plus-cli";
  // The child starts with Ctrl+C ignored until its run watches for it: an early one must
  // not kill the tool.
  const auto previous = ::signal(SIGINT, SIG_IGN);
  const pid_t child = ::fork();
  if (child != 0) ::signal(SIGINT, previous);
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::freopen(out.c_str(), "w", stdout);
    std::freopen(err.c_str(), "w", stderr);
    ::execl(cli.c_str(), cli.c_str(), "equity", "--hero", "r", "--op", "r", "--op", "r", "--op", "r", "--montecarlo",
            "--runs", "1000000000", "--json", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  // Minutes of work were asked for: ending within a minute means the stop took effect.
  pid_t done = 0;
  for (int i = 0; i < 600 && done == 0; ++i) {
    ::kill(child, SIGINT);  // again and again: the first ones may come before the run
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    done = ::waitpid(child, &status, WNOHANG);
  }
  if (done == 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    FAIL() << "still running a minute after Ctrl+C";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_EQ(ReadAll(out), "");
  EXPECT_EQ(ReadAll(err), "Stopped\n");
  std::filesystem::remove(out);
  std::filesystem::remove(err);
}

}  // namespace
}  // namespace ferrox::testing

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;

// The tool run by the shell with the redirections given, stderr captured.
Output RunShell(const std::string& cli, const std::string& argsAndRedirections) {
  const auto err = fs::temp_directory_path() / ("ferrox_cli_shell_err_" + std::to_string(::getpid()));
  // A hang would show as exit code 124 rather than a test that never ends.
  const std::string command = "timeout 120 " + cli + " " + argsAndRedirections + " 2>" + err.string();
  const int status = std::system(command.c_str());
  Output result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, "", ReadAll(err)};
  fs::remove(err);
  return result;
}

const std::string kCli = std::string(FERROX_BIN_DIR) + "/ferrox6plus-cli";

TEST(CliOutput, AResultThatCannotBeWrittenIsAnErrorWithItsOwnExitCode) {
  for (const char* args : {"range AA", "classify AhKd Kc7s6d", "heatmap --op AA --json", "equity --hero AA --op KK"}) {
    const Output full = RunShell(kCli, std::string(args) + " >/dev/full");
    EXPECT_EQ(full.exitCode, 4) << args;
    EXPECT_EQ(full.err, "Cannot write the result: No space left on device\n") << args;
    const Output closed = RunShell(kCli, std::string(args) + " >&-");
    EXPECT_EQ(closed.exitCode, 4) << args;
    EXPECT_EQ(closed.err, "Cannot write the result: standard output is closed\n") << args;
  }
  // A refusal prints nothing on stdout, so nothing of it is lost: its own code stays.
  const Output refused = RunShell(kCli, "range --rules 2 AA >&-");
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(Has(refused.err, "--rules")) << refused.err;
  EXPECT_EQ(RunShell(kCli, "range AA >/dev/null").exitCode, 0);
}

TEST(CliOutput, WithStdoutClosedTheExportStillGoesToItsFile) {
  const fs::path file = fs::temp_directory_path() / ("ferrox_cli_closed_" + std::to_string(::getpid()) + ".hmp");
  const Output o = RunShell(kCli, "heatmap --op AA --out " + file.string() + " >&-");
  EXPECT_EQ(o.exitCode, 4) << o.err;
  const std::string written = ReadAll(file);
  EXPECT_EQ(written.rfind("Equity Calculation for all hands vs range AA\r\n", 0), 0u) << "no printed table in it";
  EXPECT_FALSE(Has(written, "Hand   Equity"));
  fs::remove(file);
}

class CliFiles : public ::testing::Test {
 protected:
  CliFiles() : dir_(fs::temp_directory_path() / ("ferrox_cli_files_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
  }
  ~CliFiles() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(CliFiles, AFifoGivenAsOutIsWrittenInPlaceNeverReplaced) {
  const fs::path fifo = dir_ / "table.hmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const Output alone = RunShell(kCli, "heatmap --op AA --out " + fifo.string() + " >/dev/null");
  EXPECT_EQ(alone.exitCode, 2) << "no reader: refused, not waited for";
  EXPECT_EQ(alone.err, "Cannot write " + fifo.string() + ": it is a FIFO and no program is reading it\n");
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));

  // A reader there (the table fits in the pipe): the table goes through the FIFO, also
  // when named through a link to it.
  const fs::path link = dir_ / "link.hmp";
  fs::create_symlink(fifo, link);
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const Output read = RunShell(kCli, "heatmap --op AA --out " + link.string() + " >/dev/null");
  EXPECT_EQ(read.exitCode, 0) << read.err;
  std::string table;
  char buffer[4096];
  for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) table.append(buffer, n);
  ::close(reader);
  EXPECT_EQ(table.rfind("Equity Calculation for all hands vs range AA\r\n", 0), 0u) << table;
  EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 82);
  EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
  EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(CliFiles, TheExportsHeaderIsOneLineWhateverTheRangeTextHolds) {
  const fs::path file = dir_ / "x.hmp";
  // Unknown tokens are skipped, so the text is a range: AA and 66.
  const Output o = RunShell(kCli, "heatmap --op \"$(printf 'AA \\r\\n 66 \\033[31m \\t')\" --out " + file.string() +
                                      " >/dev/null");
  ASSERT_EQ(o.exitCode, 0) << o.err;
  const std::string written = ReadAll(file);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 82) << "a header and the 81 rows";
  EXPECT_EQ(written.substr(0, written.find('\n') + 1),
            "Equity Calculation for all hands vs range AA \\r\\n 66 \\x1b[31m \\t\r\n");
  EXPECT_FALSE(Has(written, "\033"));
}

// The tool alone in a folder of its own, with the ordering files a test gives it.
class CliOrderings : public CliFiles {
 protected:
  CliOrderings() : cli_(dir_ / "ferrox6plus-cli") { fs::copy_file(kCli, cli_); }
  Output Run(const std::string& args) { return RunShell(cli_.string(), args + " >/dev/null"); }
  fs::path cli_;
};

TEST_F(CliOrderings, APercentRangeWithoutItsOrderingIsRefusedNamingTheFileAndWhy) {
  const std::string standard = (dir_ / "SixPlusVsRandom.txt").string();
  const std::string missing = "'20%' is cut from the ordering file " + standard +
                              ", which did not load: No such file or directory";
  const Output range = Run("range 20%");
  EXPECT_EQ(range.exitCode, 2);
  EXPECT_EQ(range.err, missing + "\n");
  EXPECT_TRUE(Has(Run("range --rules 1 20%").err, (dir_ / "SixPlus6maxordering.txt").string()));
  EXPECT_EQ(Run("equity --hero 20% --op AA").err, "Bad Hero range! (" + missing + ")\n");
  EXPECT_EQ(Run("heatmap --op 20%").err, "Error in Op1 20% (" + missing + ")\n");
  const Output hotness = Run("hotness --hero AA --op 20% --board 7c8d9h");
  EXPECT_EQ(hotness.exitCode, 2);
  EXPECT_EQ(hotness.err, "Error in Op1 20% (" + missing + ")\n");

  // Texts without a percent range do not need the ordering.
  const Output plain = RunCli("range AA");
  EXPECT_EQ(RunShell(cli_.string(), "range AA >" + (dir_ / "aa.json").string()).exitCode, 0);
  EXPECT_EQ(ReadAll(dir_ / "aa.json"), plain.out);
  EXPECT_EQ(RunShell(cli_.string(), "range r >" + (dir_ / "r.json").string()).exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(ReadAll(dir_ / "r.json"))["count"], 630) << "every hand, with or without ordering";
}

TEST_F(CliOrderings, ABrokenOrderingFileSaysWhichLineIsAtFault) {
  std::ofstream(dir_ / "SixPlusVsRandom.txt") << "AA\nKK\nXY\n";
  EXPECT_EQ(Run("range 20%").err, "'20%' is cut from the ordering file " + (dir_ / "SixPlusVsRandom.txt").string() +
                                      ", which did not load: line 3: 'XY' is not a hand class\n");
  fs::create_directory(dir_ / "SixPlus6maxordering.txt");
  EXPECT_TRUE(Has(Run("range --rules 1 20%").err, "which did not load: it is a folder, not a file"));
}

TEST(CliErrors, ErrorBoardSaysHowManyCardsTheBoardHas) {
  EXPECT_EQ(Refusal("equity --hero AA --op KK --board Ah"),
            "Error board (the board has 1 card; a board has three to five cards (flop, turn, river), or none)\n");
  EXPECT_TRUE(Has(Refusal("hotness --hero AA --op KK --board AhKd"), "Error board (the board has 2 cards;"));
  EXPECT_TRUE(Has(Refusal("equity --hero AA --op KK --board AhKdQd6c7c8c"), "Error board (the board has 6 cards;"));
}

}  // namespace
}  // namespace ferrox::testing
