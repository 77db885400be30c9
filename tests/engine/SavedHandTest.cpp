// Hand files: what is written reads back as the same hand, and whatever is not a hand this
// version writes is refused with a message naming what is wrong.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "engine/SavedHand.h"
#include "engine/StreetEvaluation.h"
#include "tests/support/FifoWatch.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

using Json = nlohmann::ordered_json;

// A hand with a value other than the default in every field.
SavedHand FullHand() {
  SavedHand hand;
  hand.ranges = {L"AKs, 77+", L"20%", L"", L"QQ, J\u00e9 \u20ac", L"AsKh", L"r"};
  hand.deadText = L"Qs 9c";
  hand.board = CardsOf("Ah Kd 7c");
  hand.dead = CardsOf("Qs");
  hand.playerCards[4] = CardsOf("As Kh");
  hand.rules = quillet::kRulesStraightBeatsSet;
  hand.useMode = false;
  hand.enumerate = false;
  hand.runs = 123'456;
  hand.editors.push_back({0, L"AKs, 77+", SpecOf("AKs 77 88"), 0, 4.5});
  hand.editors.push_back({3, L"QQ", SpecOf("QQ JTo"), 12.3, 99.9});
  return hand;
}

std::optional<SavedHand> RoundTrip(const SavedHand& hand) {
  std::string error;
  auto back = ParseHandJson(HandJson(hand), error);
  EXPECT_TRUE(back) << error;
  return back;
}

TEST(HandFileText, EveryFieldReadsBackAsWritten) {
  const SavedHand full = FullHand();
  EXPECT_EQ(RoundTrip(full), full);
  EXPECT_EQ(RoundTrip(SavedHand{}), SavedHand{}) << "an empty hand: no board, no cards, no editor";

  // Each field alone changed: still read back, and read back changed.
  const std::vector<std::function<void(SavedHand&)>> changes = {
      [](SavedHand& h) { h.ranges[5] = L"KK"; },
      [](SavedHand& h) { h.deadText = L""; },
      [](SavedHand& h) { h.board = CardsOf("Ah Kd 7c 6s 9d"); },
      [](SavedHand& h) { h.board = CardsOf("Kd Ah 7c"); },  // dealt order kept
      [](SavedHand& h) { h.board = CardsOf("Ah"); },         // a board being set up
      [](SavedHand& h) { h.dead = CardsOf("Qs Tc"); },
      [](SavedHand& h) { h.playerCards[0] = CardsOf("6h 6d"); },
      [](SavedHand& h) { h.rules = quillet::kRulesStandard; },
      [](SavedHand& h) { h.useMode = true; },
      [](SavedHand& h) { h.enumerate = true; },
      [](SavedHand& h) { h.runs = kMaxRuns; },
      [](SavedHand& h) { h.editors[1].player = 5; },
      [](SavedHand& h) { h.editors[1].text = L"KK"; },
      [](SavedHand& h) { h.editors[1].range = SpecOf("QsQh"); },
      [](SavedHand& h) { h.editors[1].range.clear(); },
      [](SavedHand& h) { h.editors[1].bandLow = 0.1; },
      [](SavedHand& h) { h.editors[1].bandHigh = 100; },
      [](SavedHand& h) { h.editors.pop_back(); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SavedHand changed = full;
    changes[i](changed);
    ASSERT_FALSE(changed == full) << "change " << i;
    EXPECT_EQ(RoundTrip(changed), changed) << "change " << i;
  }
}

TEST(HandFileText, TheFileSaysWhatTheReadmeSays) {
  const std::string text = HandJson(FullHand());
  EXPECT_EQ(text.back(), '\n');
  const Json j = Json::parse(text);
  EXPECT_EQ(j["format"], "ferrox6plus-hand");
  EXPECT_EQ(j["version"], 1);
  EXPECT_EQ(j["rules"], "straight-beats-set");
  EXPECT_EQ(j["mode"], "create");
  EXPECT_EQ(j["evaluation"], Json({{"method", "montecarlo"}, {"runs", 123456}}));
  EXPECT_EQ(j["board"], "AhKd7c");
  EXPECT_EQ(j["dead"], Json({{"text", "Qs 9c"}, {"cards", "Qs"}}));
  ASSERT_EQ(j["players"].size(), 6u);
  EXPECT_EQ(j["players"][3], Json({{"name", "Op3"}, {"range", "QQ, J\u00e9 \u20ac"}, {"hand", ""}}));
  EXPECT_EQ(j["players"][4]["hand"], "AsKh");
  ASSERT_EQ(j["editors"].size(), 2u);
  EXPECT_EQ(j["editors"][1]["player"], 3);
  EXPECT_EQ(j["editors"][1]["band"], Json({12.3, 99.9}));
  EXPECT_EQ(j["editors"][1]["combos"].size(), 6u + 12u);
  EXPECT_TRUE(text.find("\"rules\": \"straight-beats-set\",\n") != std::string::npos) << "one field a line:\n" << text;
}

// A valid file, changed by `edit`.
std::string Edited(const std::function<void(Json&)>& edit) {
  Json j = Json::parse(HandJson(FullHand()));
  edit(j);
  return j.dump(2);
}

std::string Refused(const std::string& text) {
  std::string error;
  const auto hand = ParseHandJson(text, error);
  EXPECT_FALSE(hand) << text;
  EXPECT_FALSE(error.empty());
  return error;
}

TEST(HandFileText, DamagedOrForeignTextIsNoHandFile) {
  const std::string whole = HandJson(FullHand());
  const std::string truncated = Refused(whole.substr(0, whole.size() / 2));
  EXPECT_EQ(truncated.rfind("not a hand file: parse error at line ", 0), 0u) << truncated;
  EXPECT_TRUE(truncated.find(", column ") != std::string::npos) << truncated;
  EXPECT_EQ(Refused("").rfind("not a hand file: parse error at line 1, column 1", 0), 0u);
  const std::string commas = Refused("{\n\"format\": \"ferrox6plus-hand\",\n\"version\": 1,,}");
  EXPECT_EQ(commas.rfind("not a hand file: parse error at line 3", 0), 0u) << commas;
  EXPECT_EQ(Refused("[1, 2]"), "not a hand file: it holds no JSON object");
  EXPECT_EQ(Refused("{\"version\": 1}"), "not a hand file: it has no 'format' field");
  EXPECT_EQ(Refused(Edited([](Json& j) { j["format"] = "ferrox6plus-range"; })),
            "not a hand file: its format is 'ferrox6plus-range', not 'ferrox6plus-hand'");
  EXPECT_TRUE(Refused("\xff\xfe{}").starts_with("not a hand file: parse error at line 1")) << "UTF-16 or no text";
  EXPECT_TRUE(Refused(std::string(100'000, '[')).find("nests deeper") != std::string::npos);
}

TEST(HandFileText, ANewerFormatIsRefusedWhateverItHolds) {
  const std::string newer = Refused(Edited([](Json& j) {
    j["version"] = 2;
    j["colour"] = "red";  // a field of the newer format
    j["players"] = 7;
  }));
  EXPECT_EQ(newer, "written by a newer version of Ferrox6Plus (format 2; this version reads format 1)");
  EXPECT_TRUE(Refused(Edited([](Json& j) { j["version"] = 0; })).find("'version'") != std::string::npos);
  EXPECT_TRUE(Refused(Edited([](Json& j) { j["version"] = "1"; })).find("'version'") != std::string::npos);
  EXPECT_TRUE(Refused(Edited([](Json& j) { j.erase("version"); })).find("'version'") != std::string::npos);
}

TEST(HandFileText, EveryFieldIsCheckedAndTheMessageNamesIt) {
  const std::pair<std::function<void(Json&)>, std::string> cases[] = {
      // unknown, missing and repeated fields, wherever they are
      {[](Json& j) { j["colour"] = 1; }, "unknown field 'colour' at the top level"},
      {[](Json& j) { j["players"][2]["x"] = ""; }, "unknown field 'x' in players[2]"},
      {[](Json& j) { j["evaluation"]["seed"] = 1; }, "unknown field 'seed' in evaluation"},
      {[](Json& j) { j["dead"]["more"] = 1; }, "unknown field 'more' in dead"},
      {[](Json& j) { j["editors"][1]["undo"] = {}; }, "unknown field 'undo' in editors[1]"},
      {[](Json& j) { j["players"][2].erase("hand"); }, "missing field 'hand' in players[2]"},
      {[](Json& j) { j.erase("editors"); }, "missing field 'editors' at the top level"},
      // wrong types
      {[](Json& j) { j["players"][2]["range"] = 5; }, "'range' in players[2] must be a text"},
      {[](Json& j) { j["players"][2] = "Op2"; }, "players[2] must be an object"},
      {[](Json& j) { j["players"] = Json::object(); }, "'players' must list six players"},
      {[](Json& j) { j["evaluation"]["runs"] = "many"; },
       "'runs' in evaluation must be a whole number from 1000 to 1000000000"},
      {[](Json& j) { j["evaluation"]["runs"] = 10000.0; }, "'runs' in evaluation must be a whole number"},
      {[](Json& j) { j["editors"] = Json::object(); }, "'editors' must be a list"},
      {[](Json& j) { j["editors"][0]["combos"] = "AsKh"; }, "'combos' in editors[0] must be a list of hands"},
      {[](Json& j) { j["rules"] = 1; }, "'rules' must be '6+' or 'straight-beats-set'"},
      {[](Json& j) { j["mode"] = "Use"; }, "'mode' must be 'use' or 'create'"},
      {[](Json& j) { j["evaluation"]["method"] = "monte-carlo"; },
       "'method' in evaluation must be 'exact' or 'montecarlo'"},
      // numbers out of their range
      {[](Json& j) { j["evaluation"]["runs"] = 999; }, "'runs' in evaluation must be a whole number from 1000"},
      {[](Json& j) { j["evaluation"]["runs"] = 1'000'000'001; }, "'runs' in evaluation"},
      {[](Json& j) { j["evaluation"]["runs"] = UINT64_MAX; }, "'runs' in evaluation"},
      {[](Json& j) { j["evaluation"]["runs"] = INT64_MIN; }, "'runs' in evaluation"},
      {[](Json& j) { j["editors"][0]["player"] = 6; }, "'player' in editors[0] must be a whole number from 0 to 5"},
      {[](Json& j) { j["editors"][0]["player"] = -1; }, "'player' in editors[0]"},
      {[](Json& j) { j["editors"][0]["band"] = {30, 20}; }, "'band' in editors[0] must be two numbers"},
      {[](Json& j) { j["editors"][0]["band"] = {-0.5, 20}; }, "'band' in editors[0]"},
      {[](Json& j) { j["editors"][0]["band"] = {0, 100.5}; }, "'band' in editors[0]"},
      {[](Json& j) { j["editors"][0]["band"] = {0, 1, 2}; }, "'band' in editors[0]"},
      {[](Json& j) { j["editors"][0]["band"] = {0, "5"}; }, "'band' in editors[0]"},
      // cards
      {[](Json& j) { j["board"] = "AhKd5c"; }, "'board' holds '5c', which is no card of the short deck"},
      {[](Json& j) { j["board"] = "AhkD7c"; }, "'board' holds 'kD'"},
      {[](Json& j) { j["board"] = "AhKd7"; }, "'board' holds '7'"},
      {[](Json& j) { j["board"] = "Ah Kd"; }, "'board' holds ' K'"},
      {[](Json& j) { j["board"] = "AhKd7c6s9dTc"; }, "'board' holds 6 cards; a board holds five at most"},
      {[](Json& j) { j["board"] = "AhKdAh"; }, "'board' holds Ah twice"},
      {[](Json& j) { j["dead"]["cards"] = "Kd"; }, "Kd is held twice: by 'board' and by 'cards' in dead"},
      {[](Json& j) { j["players"][1]["hand"] = "QsJc"; },
       "Qs is held twice: by 'cards' in dead and by 'hand' in players[1]"},
      {[](Json& j) { j["players"][1]["hand"] = "KhJc"; },
       "Kh is held twice: by 'hand' in players[1] and by 'hand' in players[4]"},
      {[](Json& j) { j["players"][1]["hand"] = "Jc"; }, "'hand' in players[1] must be two cards or none"},
      {[](Json& j) { j["players"][1]["hand"] = "JcJdJh"; }, "'hand' in players[1] must be two cards or none"},
      {[](Json& j) { j["editors"][0]["combos"].push_back("AsAs"); },
       "'combos' in editors[0] holds 'AsAs', which is no hand"},
      {[](Json& j) { j["editors"][0]["combos"].push_back("As5s"); }, "'combos' in editors[0] holds 'As5s'"},
      {[](Json& j) { j["editors"][0]["combos"].push_back("AsKsQs"); }, "'combos' in editors[0] holds 'AsKsQs'"},
      {[](Json& j) { j["editors"][0]["combos"].push_back(7); }, "'combos' in editors[0] must be a list of hands"},
      {[](Json& j) { j["editors"][0]["combos"].push_back("KsAs"); }, "'combos' in editors[0] holds AsKs twice"},
      // players and editors
      {[](Json& j) { j["players"].erase(5); }, "'players' must list six players, the Hero and Op1 to Op5 (it lists 5)"},
      {[](Json& j) { j["players"][2]["name"] = "Op3"; }, "'name' in players[2] must be 'Op2'"},
      {[](Json& j) { j["editors"][1]["player"] = 0; }, "editors[1] is a second editor of player 0"},
      {[](Json& j) { std::swap(j["editors"][0], j["editors"][1]); }, "editors[1] is for player 0, after player 3"},
      // texts
      {[](Json& j) { j["players"][1]["range"] = "AKs\nQQ"; }, "'range' in players[1] holds a control character"},
      {[](Json& j) { j["players"][1]["range"] = std::string("AKs\0", 4); }, "'range' in players[1] holds a control"},
      {[](Json& j) { j["dead"]["text"] = "Qs\u2028"; }, "'text' in dead holds a control character"},
      {[](Json& j) { j["editors"][0]["text"] = "\x1b[31m"; }, "'text' in editors[0] holds a control character"},
      {[](Json& j) { j["players"][0]["range"] = std::string(kMaxHandTextLength + 1, 'A'); },
       "'range' in players[0] is longer than 20000 characters"},
  };
  for (const auto& [edit, message] : cases) {
    const std::string error = Refused(Edited(edit));
    EXPECT_EQ(error.rfind(message, 0), 0u) << "expected: " << message << "\n     got: " << error;
  }
  // The longest text is taken, counted in characters rather than bytes.
  std::string error;
  const auto longest = [](Json& j) { j["players"][0]["range"] = std::string(kMaxHandTextLength, 'A'); };
  EXPECT_TRUE(ParseHandJson(Edited(longest), error)) << error;
  std::string euros;
  for (std::size_t i = 0; i < kMaxHandTextLength; ++i) euros += "\u20ac";
  EXPECT_TRUE(ParseHandJson(Edited([&](Json& j) { j["dead"]["text"] = euros; }), error)) << error;
}

// A valid file where the edit put the text "MARK", replaced by raw bytes.
std::string Spliced(const std::function<void(Json&)>& edit, const std::string& bytes) {
  std::string text = Edited(edit);
  const std::string marker = "\"MARK\"";
  return text.replace(text.find(marker), marker.size(), bytes);
}

TEST(HandFileText, HostileInputIsRefusedAndNamedShortly) {
  const auto runs = [](Json& j) { j["evaluation"]["runs"] = "MARK"; };
  EXPECT_EQ(Refused(Spliced(runs, "1e999")), "not a hand file: number overflow parsing '1e999'");
  EXPECT_TRUE(Refused(Spliced(runs, "99999999999999999999999")).starts_with("'runs' in evaluation must be a whole"));
  EXPECT_TRUE(Refused(Spliced(runs, "-0")).starts_with("'runs' in evaluation"));

  // The parser alone would keep the second of two fields of one name.
  const auto hand = [](Json& j) { j["players"][2]["hand"] = "MARK"; };
  EXPECT_EQ(Refused(Spliced(hand, "\"\", \"name\": \"Op2\"")), "field 'name' is given twice in players[2]");
  EXPECT_EQ(Refused("{\"format\": \"ferrox6plus-hand\", \"version\": 1, \"version\": 1}"),
            "field 'version' is given twice at the top level");

  // Bytes that are no UTF-8 inside a text, and a lone surrogate.
  const auto range = [](Json& j) { j["players"][1]["range"] = "MARK"; };
  EXPECT_TRUE(Refused(Spliced(range, "\"AK\xc3s\"")).starts_with("not a hand file: parse error at line "));
  EXPECT_TRUE(Refused(Spliced(range, "\"AK\xed\xa0\x80s\"")).starts_with("not a hand file: parse error at line "));
  EXPECT_TRUE(Refused(Spliced(range, "\"AK\\ud800s\"")).starts_with("not a hand file: parse error at line "));

  // A field name no message could show whole: cut short, on one line, also where every
  // character shown takes an escape, and where the parser quotes what it last read.
  const std::string longKey = Refused(Edited([](Json& j) { j[std::string(10'000, 'k') + "\n"] = 1; }));
  EXPECT_TRUE(longKey.starts_with("unknown field 'kkk")) << longKey;
  EXPECT_LT(longKey.size(), 120u);
  EXPECT_EQ(longKey.find('\n'), std::string::npos);
  const std::string controls(1'000, '\x7f');
  const std::string escapedKey = Refused(Edited([&](Json& j) { j["players"][1][controls] = 1; }));
  EXPECT_TRUE(escapedKey.starts_with("unknown field '\\x7f")) << escapedKey;
  EXPECT_LT(escapedKey.size(), 120u);
  const std::string lastRead = Refused("{\"format\": \"" + controls + "\xff\"}");
  EXPECT_TRUE(lastRead.starts_with("not a hand file: parse error at line 1")) << lastRead;
  EXPECT_LT(lastRead.size(), 250u);
  EXPECT_EQ(lastRead.find('\x7f'), std::string::npos);
}

class HandFiles : public ::testing::Test {
 protected:
  ScratchFolder dir_{"hand-files"};
};

TEST_F(HandFiles, WrittenAndReadBack) {
  const auto file = dir_ / "hand.f6hand";
  std::string error;
  ASSERT_TRUE(WriteHandFile(file, FullHand(), error)) << error;
  EXPECT_EQ(ReadBytes(file), HandJson(FullHand()));
  EXPECT_EQ(ReadHandFile(file, error), FullHand()) << error;
}

TEST_F(HandFiles, WhatCannotBeReadIsRefusedNamingTheFile) {
  std::string error;
  const auto missing = dir_ / "missing.f6hand";
  EXPECT_FALSE(ReadHandFile(missing, error));
  EXPECT_EQ(error, "Cannot read " + missing.string() + ": No such file or directory");

  const auto damaged = dir_ / "damaged.f6hand";
  WriteBytes(damaged, HandJson(FullHand()).substr(0, 100));
  EXPECT_FALSE(ReadHandFile(damaged, error));
  EXPECT_EQ(error.rfind("Cannot read " + damaged.string() + ": not a hand file: parse error at line ", 0), 0u) << error;

  const auto newer = dir_ / "newer.f6hand";
  WriteBytes(newer, Edited([](Json& j) { j["version"] = 3; }));
  EXPECT_FALSE(ReadHandFile(newer, error));
  EXPECT_EQ(error, "Cannot read " + newer.string() +
                       ": written by a newer version of Ferrox6Plus (format 3; this version reads format 1)");

  // A file larger than any hand, even one that starts as a hand file.
  const auto large = dir_ / "large.f6hand";
  std::string padded = HandJson(FullHand());
  padded.insert(1, kMaxHandFileBytes, ' ');
  WriteBytes(large, padded);
  EXPECT_FALSE(ReadHandFile(large, error));
  EXPECT_TRUE(error.starts_with("Cannot read " + large.string() + ": ")) << error;

  // A FIFO is refused at once, never waited on.
  const auto fifoPath = dir_ / "fifo.f6hand";
  FifoWatch fifo(fifoPath);
  ASSERT_TRUE(fifo.Made());
  EXPECT_FALSE(ReadHandFile(fifoPath, error));
  EXPECT_FALSE(fifo.ReaderBlocked());
  EXPECT_EQ(error, "Cannot read " + fifoPath.string() + ": not a regular file");
}

TEST_F(HandFiles, ARefusedWriteLeavesTheOldFile) {
  const auto file = dir_ / "hand.f6hand";
  std::string error;
  ASSERT_TRUE(WriteHandFile(file, SavedHand{}, error)) << error;
  const std::string old = ReadBytes(file);

  // A hand that would not read back: nothing is written.
  SavedHand broken = FullHand();
  broken.ranges[2] = L"AKs\r\nQQ";
  EXPECT_FALSE(WriteHandFile(file, broken, error));
  EXPECT_EQ(error, "Cannot write " + file.string() +
                       ": 'range' in players[2] holds a control character (a box holds one line)");
  SavedHand unordered = FullHand();
  std::swap(unordered.editors[0], unordered.editors[1]);
  EXPECT_FALSE(WriteHandFile(file, unordered, error));
  SavedHand badCard = FullHand();
  badCard.board.push_back(3);  // the five of clubs
  EXPECT_FALSE(WriteHandFile(file, badCard, error));
  EXPECT_EQ(ReadBytes(file), old);

  // A file the user may not change.
  ::chmod(file.c_str(), 0444);
  EXPECT_FALSE(WriteHandFile(file, FullHand(), error));
  EXPECT_EQ(error.rfind("Cannot write " + file.string() + ": ", 0), 0u) << error;
  EXPECT_EQ(ReadBytes(file), old);
  EXPECT_EQ(EntriesOf(dir_.path()), std::vector<std::string>{"hand.f6hand"}) << "no temporary file left";
}

}  // namespace
}  // namespace ferrox::testing
