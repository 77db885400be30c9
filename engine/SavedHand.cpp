#include "engine/SavedHand.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <set>
#include <utility>

#include "core/EchoedText.h"
#include "core/WideText.h"
#include "engine/StreetEvaluation.h"
#include "quillet/Files.h"

namespace ferrox {

bool SavedEditor::operator==(const SavedEditor& other) const {
  return player == other.player && text == other.text && range.combos() == other.range.combos() &&
         bandLow == other.bandLow && bandHigh == other.bandHigh;
}

bool SavedHand::operator==(const SavedHand& other) const {
  return ranges == other.ranges && deadText == other.deadText && board == other.board && dead == other.dead &&
         playerCards == other.playerCards && rules == other.rules && useMode == other.useMode &&
         enumerate == other.enumerate && runs == other.runs && editors == other.editors;
}

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kPlayerNames[6] = {"Hero", "Op1", "Op2", "Op3", "Op4", "Op5"};
constexpr const char* kStandardName = "6+";
constexpr const char* kStraightBeatsSetName = "straight-beats-set";
// A hand file nests three deep; anything much deeper is refused while it is parsed.
constexpr std::size_t kMaxNesting = 8;
constexpr std::size_t kCombosPerLine = 12;
constexpr std::size_t kLongestParserMessage = 200;

// ---------------------------------------------------------------- writing

std::string Quoted(std::string_view utf8) {
  return Json(std::string(utf8)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string Quoted(std::wstring_view text) { return Quoted(ToUtf8(text)); }

// Card names run together. A card that is none is written "Xx", which no reader takes.
std::string CardsText(const std::vector<CardIndex>& cards) {
  std::wstring text;
  for (CardIndex c : cards) text += quillet::CardName(c);
  return ToUtf8(text);
}

const char* RulesName(quillet::Rules rules) {
  if (rules == quillet::kRulesStandard) return kStandardName;
  return rules == quillet::kRulesStraightBeatsSet ? kStraightBeatsSetName : "unknown";
}

std::string Member(const char* name, const std::string& value) { return Quoted(name) + ": " + value; }

// {"a": 1, "b": "x"}
std::string OneLine(std::initializer_list<std::pair<const char*, std::string>> members) {
  std::string text;
  for (const auto& [name, value] : members) text += (text.empty() ? "" : ", ") + Member(name, value);
  return "{" + text + "}";
}

// The items one a line, two deeper than indent, between open and close.
std::string Lines(const std::vector<std::string>& items, const std::string& indent, char open, char close) {
  if (items.empty()) return {open, close};
  std::string text(1, open);
  for (std::size_t i = 0; i < items.size(); ++i)
    text += "\n" + indent + "  " + items[i] + (i + 1 < items.size() ? "," : "");
  return text + "\n" + indent + close;
}

std::string CombosText(const quillet::Spec& range, const std::string& indent) {
  std::vector<std::string> lines;
  std::size_t n = 0;
  for (const quillet::Combo& combo : range.combos()) {
    if (n++ % kCombosPerLine == 0) lines.emplace_back();
    else lines.back() += ", ";
    lines.back() += Quoted(quillet::ComboName(combo));
  }
  return Lines(lines, indent, '[', ']');
}

std::string EditorText(const SavedEditor& editor) {
  const std::string indent = "    ";
  const std::string band = "[" + Json(editor.bandLow).dump() + ", " + Json(editor.bandHigh).dump() + "]";
  return Lines({Member("player", std::to_string(editor.player)), Member("text", Quoted(editor.text)),
                Member("band", band), Member("combos", CombosText(editor.range, indent + "  "))},
               indent, '{', '}');
}

// ---------------------------------------------------------------- reading

// A refusal met while reading: thrown and caught inside this file only.
struct Refusal {
  std::string message;
};

[[noreturn]] void Refuse(std::string message) { throw Refusal{std::move(message)}; }

// Input shown in a message: escaped, then cut, so that a message stays short whatever
// the file holds.
std::string Shown(std::string_view utf8, std::size_t most) {
  return ToUtf8(CutText(EscapedText(FromUtf8(utf8)), most));
}

std::string Echo(std::string_view utf8) { return "'" + Shown(utf8, kEchoedInputLength) + "'"; }

// " in players[2]", or " at the top level".
std::string In(const std::string& place) { return place.empty() ? " at the top level" : " in " + place; }

// "'runs' in evaluation", "'board'".
std::string FieldName(const std::string& place, std::string_view key) {
  return "'" + std::string(key) + "'" + (place.empty() ? "" : " in " + place);
}

// Watches the parse: the parser would keep the last of two fields of one name silently,
// and nesting far deeper than a hand file's only costs memory. Places are put together
// only for a message, so a long key is never copied per value.
class ParseWatch {
 public:
  bool See(Json::parse_event_t event, const Json& parsed) {
    switch (event) {
      case Json::parse_event_t::object_start:
      case Json::parse_event_t::array_start:
        Open(event == Json::parse_event_t::object_start);
        break;
      case Json::parse_event_t::object_end:
      case Json::parse_event_t::array_end:
        levels_.pop_back();
        break;
      case Json::parse_event_t::key:
        Key(parsed.get_ref<const std::string&>());
        break;
      case Json::parse_event_t::value:
        if (!levels_.empty()) ++levels_.back().items;
        break;
    }
    return true;
  }

 private:
  struct Level {
    bool object = false;
    std::string label;  // "players", "[2]": where it sits in the level above
    std::set<std::string> keys;
    std::string key;  // the field being read
    int items = 0;
  };

  void Open(bool object) {
    if (levels_.size() >= kMaxNesting) Refuse("not a hand file: it nests deeper than a hand file does");
    std::string label;
    if (!levels_.empty()) {
      Level& up = levels_.back();
      label = up.object ? up.key : "[" + std::to_string(up.items++) + "]";
    }
    Level& level = levels_.emplace_back();
    level.object = object;
    level.label = std::move(label);
  }

  void Key(const std::string& key) {
    Level& level = levels_.back();
    if (!level.keys.insert(key).second) Refuse("field " + Echo(key) + " is given twice" + In(Place()));
    level.key = key;
  }

  std::string Place() const {
    std::string place;
    for (const Level& level : levels_) {
      if (!place.empty() && !level.label.starts_with('[')) place += '.';
      place += level.label;
    }
    return Shown(place, kEchoedInputLength);
  }

  std::vector<Level> levels_;
};

// An object's fields: exactly those named, each present.
class Fields {
 public:
  Fields(const Json& value, std::string place, std::initializer_list<const char*> names)
      : value_(value), place_(std::move(place)) {
    if (!value.is_object()) Refuse((place_.empty() ? "the file" : place_) + " must be an object ({...})");
    for (auto it = value.begin(); it != value.end(); ++it)
      if (std::none_of(names.begin(), names.end(), [&](const char* name) { return it.key() == name; }))
        Refuse("unknown field " + Echo(it.key()) + In(place_));
    for (const char* name : names)
      if (!value.contains(name)) Refuse("missing field '" + std::string(name) + "'" + In(place_));
  }

  const Json& operator[](const char* name) const { return *value_.find(name); }
  std::string Name(const char* name) const { return FieldName(place_, name); }

 private:
  const Json& value_;
  std::string place_;
};

// A whole number within int64; nullopt for anything else.
std::optional<int64_t> WholeNumber(const Json& value) {
  if (value.is_number_unsigned()) {
    const auto n = value.get<uint64_t>();
    return n <= static_cast<uint64_t>(INT64_MAX) ? std::optional<int64_t>(static_cast<int64_t>(n)) : std::nullopt;
  }
  if (value.is_number_integer()) return value.get<int64_t>();
  return std::nullopt;
}

int64_t WholeNumber(const Json& value, const std::string& name, int64_t least, int64_t most) {
  const auto n = WholeNumber(value);
  if (!n || *n < least || *n > most)
    Refuse(name + " must be a whole number from " + std::to_string(least) + " to " + std::to_string(most));
  return *n;
}

const std::string& Text(const Json& value, const std::string& name) {
  if (!value.is_string()) Refuse(name + " must be a text");
  return value.get_ref<const std::string&>();
}

// The characters that would break a box's one line or drive a terminal.
bool BreaksTheLine(wchar_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// A box's text: one line of at most kMaxHandTextLength characters.
std::wstring BoxText(const Json& value, const std::string& name) {
  std::wstring text = FromUtf8(Text(value, name));
  if (text.size() > kMaxHandTextLength)
    Refuse(name + " is longer than " + std::to_string(kMaxHandTextLength) + " characters");
  if (std::any_of(text.begin(), text.end(), BreaksTheLine))
    Refuse(name + " holds a control character (a box holds one line)");
  return text;
}

// One of the names given: its place among them.
int Choice(const Json& value, const std::string& name, std::initializer_list<const char*> choices) {
  std::string listed;
  int index = 0;
  for (const char* choice : choices) {
    if (value.is_string() && value.get_ref<const std::string&>() == choice) return index;
    listed += std::string(index++ == 0 ? "" : " or ") + "'" + choice + "'";
  }
  Refuse(name + " must be " + listed);
}

// A card of the short deck by the name the program writes ("Ah": upper-case rank, lower-case suit).
CardIndex DeckCardNamed(std::string_view name) {
  if (name.size() != 2) return -1;
  const wchar_t wide[2] = {static_cast<unsigned char>(name[0]), static_cast<unsigned char>(name[1])};
  const int card = quillet::GetCardByName(std::wstring_view(wide, 2));
  return card >= 0 && quillet::IsDeckCard(card) && CardNameTable[card] == std::wstring_view(wide, 2) ? card : -1;
}

// Which field holds each card, so that a card held twice is named with both places.
class HeldCards {
 public:
  void Hold(CardIndex card, const std::string& name) {
    std::string& first = holders_[card];
    const std::string cardName = ToUtf8(CardNameTable[card]);
    if (first == name) Refuse(name + " holds " + cardName + " twice");
    if (!first.empty()) Refuse(cardName + " is held twice: by " + first + " and by " + name);
    first = name;
  }

 private:
  std::array<std::string, 52> holders_;
};

std::vector<CardIndex> Cards(const Json& value, const std::string& name, HeldCards& held) {
  const std::string_view text = Text(value, name);
  std::vector<CardIndex> cards;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::string_view piece = text.substr(i, 2);
    const CardIndex card = DeckCardNamed(piece);
    if (card < 0)
      Refuse(name + " holds " + Echo(piece) +
             ", which is no card of the short deck (ranks 6 to A, suits s h d c, as in 'Ah')");
    held.Hold(card, name);
    cards.push_back(card);
  }
  return cards;
}

quillet::Spec Combos(const Json& value, const std::string& name) {
  if (!value.is_array()) Refuse(name + " must be a list of hands ([\"AsKh\", ...])");
  quillet::Spec range;
  for (const Json& item : value) {
    if (!item.is_string()) Refuse(name + " must be a list of hands ([\"AsKh\", ...])");
    const std::string_view text = item.get_ref<const std::string&>();
    const CardIndex first = text.size() == 4 ? DeckCardNamed(text.substr(0, 2)) : -1;
    const CardIndex second = text.size() == 4 ? DeckCardNamed(text.substr(2)) : -1;
    if (first < 0 || second < 0 || first == second)
      Refuse(name + " holds " + Echo(text) + ", which is no hand of two short-deck cards");
    const quillet::Combo combo = quillet::MakeCombo(first, second);
    if (!range.combos().insert(combo).second) Refuse(name + " holds " + ToUtf8(quillet::ComboName(combo)) + " twice");
  }
  return range;
}

void ReadBand(const Json& value, const std::string& name, SavedEditor& editor) {
  const bool numbers = value.is_array() && value.size() == 2 && value[0].is_number() && value[1].is_number();
  if (numbers) {
    editor.bandLow = value[0].get<double>();
    editor.bandHigh = value[1].get<double>();
  }
  if (!numbers || !(0 <= editor.bandLow && editor.bandLow <= editor.bandHigh && editor.bandHigh <= 100))
    Refuse(name + " must be two numbers [low, high], 0 <= low <= high <= 100");
}

void ReadPlayers(const Json& value, SavedHand& hand, HeldCards& held) {
  if (!value.is_array() || value.size() != 6)
    Refuse("'players' must list six players, the Hero and Op1 to Op5" +
           (value.is_array() ? " (it lists " + std::to_string(value.size()) + ")" : std::string()));
  for (int p = 0; p < 6; ++p) {
    const Fields player(value[p], "players[" + std::to_string(p) + "]", {"name", "range", "hand"});
    if (!player["name"].is_string() || player["name"].get_ref<const std::string&>() != kPlayerNames[p])
      Refuse(player.Name("name") + " must be '" + kPlayerNames[p] + "'");
    hand.ranges[p] = BoxText(player["range"], player.Name("range"));
    hand.playerCards[p] = Cards(player["hand"], player.Name("hand"), held);
    if (hand.playerCards[p].size() != 0 && hand.playerCards[p].size() != 2)
      Refuse(player.Name("hand") + " must be two cards or none ('AsKh' or '')");
  }
}

SavedEditor ReadEditor(const Json& value, const std::string& place, int previousPlayer) {
  const Fields fields(value, place, {"player", "text", "combos", "band"});
  SavedEditor editor;
  editor.player = static_cast<int>(WholeNumber(fields["player"], fields.Name("player"), 0, 5));
  if (editor.player == previousPlayer)
    Refuse(place + " is a second editor of player " + std::to_string(editor.player) + "; a player has one at most");
  if (editor.player < previousPlayer)
    Refuse(place + " is for player " + std::to_string(editor.player) + ", after player " +
           std::to_string(previousPlayer) + ": editors are listed in player order");
  editor.text = BoxText(fields["text"], fields.Name("text"));
  editor.range = Combos(fields["combos"], fields.Name("combos"));
  ReadBand(fields["band"], fields.Name("band"), editor);
  return editor;
}

std::vector<SavedEditor> ReadEditors(const Json& value) {
  if (!value.is_array()) Refuse("'editors' must be a list ([...])");
  std::vector<SavedEditor> editors;
  for (std::size_t i = 0; i < value.size(); ++i)
    editors.push_back(ReadEditor(value[i], "editors[" + std::to_string(i) + "]",
                                 editors.empty() ? -1 : editors.back().player));
  return editors;
}

// What a hand file of any version has: the format's name and a version this one reads.
void CheckFormat(const Json& top) {
  if (!top.is_object()) Refuse("not a hand file: it holds no JSON object");
  const auto format = top.find("format");
  if (format == top.end()) Refuse("not a hand file: it has no 'format' field");
  if (!format->is_string() || format->get_ref<const std::string&>() != kHandFormatName)
    Refuse("not a hand file: its format is " +
           Echo(format->is_string() ? format->get_ref<const std::string&>()
                                    : format->dump(-1, ' ', false, Json::error_handler_t::replace)) +
           ", not '" + kHandFormatName + "'");
  const auto version = top.find("version");
  if (version == top.end()) Refuse("missing field 'version' at the top level");
  const auto number = WholeNumber(*version);
  if (!number || *number < 1) Refuse("'version' must be a whole number from 1");
  if (*number > kHandFormatVersion)
    Refuse("written by a newer version of Ferrox6Plus (format " + std::to_string(*number) +
           "; this version reads format " + std::to_string(kHandFormatVersion) + ")");
}

SavedHand ReadHand(const Json& top) {
  CheckFormat(top);
  const Fields fields(top, "",
                      {"format", "version", "rules", "mode", "evaluation", "board", "dead", "players", "editors"});
  SavedHand hand;
  hand.rules = Choice(fields["rules"], "'rules'", {kStandardName, kStraightBeatsSetName}) == 0
                   ? quillet::kRulesStandard
                   : quillet::kRulesStraightBeatsSet;
  hand.useMode = Choice(fields["mode"], "'mode'", {"use", "create"}) == 0;
  const Fields evaluation(fields["evaluation"], "evaluation", {"method", "runs"});
  hand.enumerate = Choice(evaluation["method"], evaluation.Name("method"), {"exact", "montecarlo"}) == 0;
  hand.runs = static_cast<int>(WholeNumber(evaluation["runs"], evaluation.Name("runs"), kMinRuns, kMaxRuns));

  HeldCards held;
  hand.board = Cards(fields["board"], "'board'", held);
  if (hand.board.size() > 5)
    Refuse("'board' holds " + std::to_string(hand.board.size()) + " cards; a board holds five at most");
  const Fields dead(fields["dead"], "dead", {"text", "cards"});
  hand.deadText = BoxText(dead["text"], dead.Name("text"));
  hand.dead = Cards(dead["cards"], dead.Name("cards"), held);
  ReadPlayers(fields["players"], hand, held);
  hand.editors = ReadEditors(fields["editors"]);
  return hand;
}

// The parser's message without its "[json.exception.parse_error.101] " tag, escaped and
// cut: it ends with what it last read.
std::string ParserMessage(const char* what) {
  std::string_view text = what;
  const auto tagEnd = text.starts_with("[json.exception.") ? text.find("] ") : std::string_view::npos;
  if (tagEnd != std::string_view::npos) text.remove_prefix(tagEnd + 2);
  return Shown(text, kLongestParserMessage);
}

}  // namespace

std::string HandJson(const SavedHand& hand) {
  std::vector<std::string> players;
  for (int p = 0; p < 6; ++p)
    players.push_back(OneLine({{"name", Quoted(kPlayerNames[p])},
                               {"range", Quoted(hand.ranges[p])},
                               {"hand", Quoted(CardsText(hand.playerCards[p]))}}));
  std::vector<std::string> editors;
  for (const SavedEditor& editor : hand.editors) editors.push_back(EditorText(editor));
  const std::vector<std::string> members = {
      Member("format", Quoted(kHandFormatName)),
      Member("version", std::to_string(kHandFormatVersion)),
      Member("rules", Quoted(RulesName(hand.rules))),
      Member("mode", Quoted(hand.useMode ? "use" : "create")),
      Member("evaluation", OneLine({{"method", Quoted(hand.enumerate ? "exact" : "montecarlo")},
                                    {"runs", std::to_string(hand.runs)}})),
      Member("board", Quoted(CardsText(hand.board))),
      Member("dead", OneLine({{"text", Quoted(hand.deadText)}, {"cards", Quoted(CardsText(hand.dead))}})),
      Member("players", Lines(players, "  ", '[', ']')),
      Member("editors", Lines(editors, "  ", '[', ']'))};
  return Lines(members, "", '{', '}') + "\n";
}

std::optional<SavedHand> ParseHandJson(std::string_view text, std::string& error) {
  try {
    ParseWatch watch;
    const auto see = [&watch](int, Json::parse_event_t event, Json& parsed) { return watch.See(event, parsed); };
    const Json top = Json::parse(text.data(), text.data() + text.size(), see);
    return ReadHand(top);
  } catch (const Refusal& refusal) {
    error = refusal.message;
  } catch (const Json::exception& e) {
    error = "not a hand file: " + ParserMessage(e.what());
  } catch (const std::exception& e) {
    error = std::string("it could not be read: ") + e.what();
  }
  return std::nullopt;
}

std::optional<SavedHand> ReadHandFile(const std::filesystem::path& file, std::string& error) {
  std::string why;
  const auto bytes = quillet::ReadRegularFile(file, kMaxHandFileBytes, &why);
  auto hand = bytes ? ParseHandJson(*bytes, why) : std::nullopt;
  if (!hand) error = "Cannot read " + file.string() + ": " + why;
  return hand;
}

bool WriteHandFile(const std::filesystem::path& file, const SavedHand& hand, std::string& error) {
  const std::string text = HandJson(hand);
  // Never a file that would not open again as this hand.
  std::string why;
  const auto back = ParseHandJson(text, why);
  if (back && !(*back == hand)) why = "the hand would not read back as it is";
  if (back && *back == hand && quillet::ReplaceUserFile(file, text, why)) return true;
  error = "Cannot write " + file.string() + ": " + why;
  return false;
}

}  // namespace ferrox
