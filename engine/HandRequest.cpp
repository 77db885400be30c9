#include "engine/HandRequest.h"

#include "engine/RangeResolution.h"

namespace ferrox {
namespace {

using quillet::Spec;

bool ValidPlayer(int slot) { return slot >= 0 && slot < kPlayerSlots; }

// The open editors of a hand, each holding its range as the editor shows it.
class SavedLinks : public RangeLinks {
 public:
  void Link(int slot, Spec range) {
    linked_[slot] = true;
    ranges_[slot] = std::move(range);
  }
  bool IsLinked(int slot) const override { return ValidPlayer(slot) && linked_[slot]; }
  const Spec* LinkedRange(int slot) const override { return IsLinked(slot) ? &ranges_[slot] : nullptr; }

 private:
  std::array<bool, kPlayerSlots> linked_{};
  std::array<Spec, kPlayerSlots> ranges_;
};

// The text read as a range with a hand in it, as the editor would take it.
bool ReadsAsRange(const std::wstring& text, const RangeParser& parser, Spec& range) {
  return parser.ParseRange(text, range) == kParseOk && !range.empty();
}

// The player's box says something other than the text the editor agreed with. An empty
// box leaves the player to the editor.
bool IsStale(const SavedHand& hand, const SavedEditor& editor) {
  const std::wstring& box = hand.ranges[editor.player];
  return !box.empty() && box != editor.text;
}

// The ranges as the hand holds them: an editor's as built, the box's for the others.
std::array<Spec, 6> HeldSpecs(const SavedHand& hand, const RangeParser& parser) {
  std::array<Spec, 6> specs;
  for (int p = 0; p < 6; ++p)
    if (!ReadsAsRange(hand.ranges[p], parser, specs[p])) specs[p].clear();
  for (const SavedEditor& editor : hand.editors)
    if (ValidPlayer(editor.player)) specs[editor.player] = editor.range;
  return specs;
}

// The editors' ranges as they show them: less the cards their player knows of in use
// mode. A stale box that did not read as a range is left to validation, which says so.
SavedLinks EditorLinks(const SavedHand& opened, const TableCardStore& table, const std::array<Spec, 6>& specs) {
  SavedLinks links;
  for (const SavedEditor& editor : opened.editors) {
    if (!ValidPlayer(editor.player) || IsStale(opened, editor)) continue;
    Spec shown;
    if (opened.useMode) editor.range.Exclude(KnownCardMask(table, editor.player, specs.data(), 6), shown);
    links.Link(editor.player, opened.useMode ? shown : editor.range);
  }
  return links;
}

}  // namespace

SavedHand OpenedHand(const SavedHand& hand, const RangeParser& parser) {
  SavedHand opened = hand;
  TableCardStore table;
  FillTable(hand, table);
  std::array<Spec, 6> specs = HeldSpecs(hand, parser);
  // Row by row, as Evaluate takes a stale box into its editor: without the cards the
  // player knows of, which include a single hand taken in a row before.
  for (SavedEditor& editor : opened.editors) {
    Spec parsed;
    if (!ValidPlayer(editor.player) || !IsStale(opened, editor) ||
        !ReadsAsRange(opened.ranges[editor.player], parser, parsed))
      continue;
    ExcludeKnownCards(table, editor.player, specs.data(), 6, parsed, editor.range);
    specs[editor.player] = editor.range;
    editor.text = opened.ranges[editor.player];
  }
  return opened;
}

std::array<quillet::Spec, 6> OpenedSpecs(const SavedHand& hand, const RangeParser& parser) {
  return HeldSpecs(OpenedHand(hand, parser), parser);
}

bool FillTable(const SavedHand& hand, TableCardStore& table) {
  bool all = true;
  for (CardIndex c : hand.board) all = table.AppendBoardCard(c) && all;
  for (CardIndex c : hand.dead) all = table.AppendDeadCard(c) && all;
  for (int p = 0; p < 6; ++p)
    for (CardIndex c : hand.playerCards[p]) all = table.AppendPlayerCard(p, c) && all;
  return all;
}

bool BuildHandRequest(const SavedHand& hand, const RangeParser& parser, TableCardStore& table, HandsInput& input,
                      RequestData& request, RequestFailure& failure) {
  const SavedHand opened = OpenedHand(hand, parser);
  if (!FillTable(opened, table)) {
    failure = {L"The hand holds a card twice, or more than five board cards", {}, false, 0};
    return false;
  }
  input = HandsInput{};
  for (int p = 0; p < 6; ++p) input.texts[p] = opened.ranges[p];
  input.texts[kDeadTextSlot] = opened.deadText;
  input.specs = HeldSpecs(opened, parser);
  const std::vector<CardIndex> deadBefore = table.Dead();
  bool ok = ValidateRequest(table, input, EditorLinks(opened, table, input.specs), parser, request, failure);
  // Typed dead cards joined the table: the editors hide them from here on, as the
  // program's do, and the request is built again with what they show.
  if (ok && table.Dead() != deadBefore)
    ok = ValidateRequest(table, input, EditorLinks(opened, table, input.specs), parser, request, failure);
  return ok;
}

}  // namespace ferrox
