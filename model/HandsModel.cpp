#include "model/HandsModel.h"

#include <algorithm>

#include "engine/RangeResolution.h"
#include "engine/RefusalReason.h"

namespace ferrox {
namespace {

bool ValidRow(int row) { return row >= 0 && row < kHandRows; }

// The editors' links, less the rows whose box says something else: those are read from
// their text, so a refusal names the text the user sees.
class LinksWithoutRows : public RangeLinks {
 public:
  LinksWithoutRows(const RangeLinks& links, std::array<bool, kHandRows> without)
      : links_(links), without_(without) {}
  bool IsLinked(int slot) const override { return !Without(slot) && links_.IsLinked(slot); }
  const quillet::Spec* LinkedRange(int slot) const override {
    return Without(slot) ? nullptr : links_.LinkedRange(slot);
  }

 private:
  bool Without(int slot) const { return ValidRow(slot) && without_[slot]; }
  const RangeLinks& links_;
  std::array<bool, kHandRows> without_;
};

}  // namespace

HandsModel::HandsModel(CalculatorDocument& cards, const PaneSettings& settings, QObject* parent)
    : QObject(parent), cards_(cards), settings_(settings) {
  connect(&cards_, &CalculatorDocument::changed, this, [this] {
    RefreshKnownCards();
    emit cardsChanged();
  });
  connect(&settings_, &PaneSettings::modeChanged, this, &HandsModel::RefreshKnownCards);
}

HandsModel::~HandsModel() {
  // While the links are still alive: a document's end reaches back into them.
  for (auto& document : documents_) delete document.data();
}

QString HandsModel::Text(int index) const {
  return index >= 0 && index <= kDeadTextSlot ? QString::fromStdWString(input_.texts[index]) : QString();
}

void HandsModel::SetText(int index, const QString& text) {
  if (index < 0 || index > kDeadTextSlot) return;
  std::wstring wide = text.toStdWString();
  if (wide == input_.texts[index]) return;
  input_.texts[index] = std::move(wide);
  emit textChanged(index);
}

void HandsModel::SetModified(int row, bool on) {
  if (modified_[row] == on) return;
  modified_[row] = on;
  emit modifiedChanged(row);
}

void HandsModel::SetCurrentRow(int row) {
  if (currentRow_ == row) return;
  currentRow_ = row;
  emit currentRowChanged(row);
}

QString HandsModel::RowName(int row) {
  return row == kHeroSlot ? QStringLiteral("Hero") : QStringLiteral("Op%1").arg(row);
}

CFerroxDoc* HandsModel::Document(int row) const { return ValidRow(row) ? documents_[row].data() : nullptr; }

void HandsModel::CloseDocument(int row) {
  if (ValidRow(row)) delete documents_[row].data();
}

CFerroxDoc* HandsModel::DocumentFor(int row, bool& created) {
  created = !documents_[row];
  if (created) {
    auto* document = new CFerroxDoc(row, this);
    documents_[row] = document;
    links_.Link(row, document);
    connect(document, &QObject::destroyed, this, [this, row] {
      if (links_.Current() == row) links_.SetCurrent(-1);
    });
    connect(document, &CFerroxDoc::rangeEdited, this, [this, row] { FollowEditor(row); });
    for (auto change : {&CFerroxDoc::rangeChanged, &CFerroxDoc::bandChanged, &CFerroxDoc::titleChanged})
      connect(document, change, this, &HandsModel::editorChanged);
    connect(document, &QObject::destroyed, this, &HandsModel::editorChanged);
    RefreshKnownCards();
    emit editorChanged();
  }
  return documents_[row];
}

QString HandsModel::ParseOpponents(const RangeParser& parser) {
  for (int i = 1; i < kHandRows; ++i) {
    if (input_.texts[i].empty()) continue;
    quillet::Spec& spec = input_.specs[i];
    if (parser.ParseRange(input_.texts[i], spec) == kParseRejected || spec.empty())
      return QString::fromStdWString(ExplainOpponentError(i, input_.texts[i], parser, ReasonPlace::OwnLine));
  }
  return {};
}

ApplyResult HandsModel::Apply(int row, const QString& categoryLabel) {
  ApplyResult result;
  if (!ValidRow(row)) return result;
  if (input_.texts[kHeroSlot].empty() && settings_.UseMode()) {
    result.message = QString::fromLatin1(kEnterHeroRange);
    return result;
  }
  SetCurrentRow(row);
  const RangeParser parser = settings_.Parser();
  const int hero = parser.ParseRange(input_.texts[kHeroSlot], input_.specs[kHeroSlot]);
  // A percent range without its ordering would show as an empty range, blaming nothing.
  if (const std::wstring refusal = parser.OrderingRefusal(input_.texts[kHeroSlot]); !refusal.empty()) {
    result.message = QString::fromStdWString(WithReason(kBadHeroRange, refusal, ReasonPlace::OwnLine));
    return result;
  }
  result.message = ParseOpponents(parser);
  if (!result.message.isEmpty()) return result;
  const QString title = QStringLiteral("Hand Range %1 %2").arg(RowName(row), categoryLabel);
  const std::size_t boardSize = cards_.Board().size();
  if (boardSize == 1 || boardSize == 2) {
    result.message = QString::fromStdWString(ExplainBoardError(boardSize, ReasonPlace::OwnLine));
    return result;
  }
  if (row == kHeroSlot && hero == kParseHeatmap) {
    result.heatmap = true;
    return result;
  }
  ShowRow(row, title, result);
  return result;
}

void HandsModel::ShowRow(int row, const QString& title, ApplyResult& result) {
  result.document = DocumentFor(row, result.documentCreated);
  quillet::Spec resolved;
  ExcludeKnownCards(cards_.Store(), row, input_.specs.data(), kHandRows, input_.specs[row], resolved);
  input_.specs[row] = resolved;
  const QString text = Text(row);
  result.document->SetRange(resolved, text);
  result.document->SetTitle(title);
  result.outputLines = SuitCountLines(resolved);
  if (resolved.empty()) SetText(row, QString::fromWCharArray(kNoHandLeftMark) + text);
  agreedText_[row] = Text(row);
  RefreshKnownCards();
  if (resolved.empty()) return;
  SetModified(row, false);
  SetModified(kHeroSlot, false);
}

QStringList HandsModel::SuitCountLines(const quillet::Spec& range) {
  QStringList lines;
  const int n = static_cast<int>(range.size());
  if (n == 0) return lines;  // no share of nothing
  for (int suit = 0; suit < 4; ++suit) {
    const int k = range.CalcSuits(suit);
    lines << QString::asprintf("Suit %d has %d combinations/%d (%.2f%%)\r\n", suit, k, n, 100.0 * k / n);
  }
  return lines;
}

CardMask HandsModel::KnownCardsFor(int slot) const {
  return KnownCardMask(cards_.Store(), slot, input_.specs.data(), kHandRows);
}

void HandsModel::RefreshKnownCards() {
  for (int row = 0; row < kHandRows; ++row)
    if (CFerroxDoc* document = documents_[row]) document->SetKnownCards(settings_.UseMode() ? KnownCardsFor(row) : 0);
}

void HandsModel::FollowEditor(int row) {
  CFerroxDoc* document = documents_[row];
  if (!document) return;
  agreedText_[row] = document->RangeText();
  input_.specs[row] = document->Range();
  SetText(row, agreedText_[row]);
  RefreshKnownCards();
}

bool HandsModel::IsStale(int row) const {
  // An empty box leaves the player to the editor, as a box left empty always has.
  const CFerroxDoc* document = documents_[row];
  return document && links_.Document(row) == document && !input_.texts[row].empty() &&
         Text(row) != agreedText_[row];
}

bool HandsModel::TakeText(int row) {
  quillet::Spec parsed;
  if (settings_.Parser().ParseRange(input_.texts[row], parsed) != kParseOk || parsed.empty()) return false;
  quillet::Spec resolved;
  ExcludeKnownCards(cards_.Store(), row, input_.specs.data(), kHandRows, parsed, resolved);
  input_.specs[row] = resolved;
  agreedText_[row] = Text(row);
  documents_[row]->SetRange(resolved, agreedText_[row]);
  RefreshKnownCards();
  return true;
}

void HandsModel::FollowText(int row) {
  if (ValidRow(row) && IsStale(row)) TakeText(row);
}

int HandsModel::RowOf(const CFerroxDoc& document) const {
  for (int row = 0; row < kHandRows; ++row)
    if (documents_[row] == &document) return row;
  return kHeroSlot;
}

BoardStatistics HandsModel::ApplyStatistics(const CFerroxDoc& document) {
  if (document.HasRange()) {
    input_.specs[RowOf(document)] = document.Range();
    RefreshKnownCards();
  }
  return StatisticsOf(document);
}

BoardStatistics HandsModel::StatisticsOf(const CFerroxDoc& document) const {
  return document.Statistics(cards_.Board(), settings_.Rules());
}

BuiltRequest HandsModel::BuildRequest() {
  std::array<bool, kHandRows> fromText{};
  for (int row = 0; row < kHandRows; ++row) fromText[row] = IsStale(row) && !TakeText(row);
  BuiltRequest built;
  const std::vector<CardIndex> deadBefore = cards_.Dead();
  built.ok = ValidateRequest(cards_.Store(), input_, LinksWithoutRows(links_, fromText), settings_.Parser(),
                             built.request, built.failure);
  RefreshKnownCards();  // validation read every range again
  if (built.ok && cards_.Dead() != deadBefore) {
    // Typed dead cards joined the table: the editors now hide them, and the request is
    // what they show from here on, or the result would count as made for other inputs.
    built.ok = ValidateRequest(cards_.Store(), input_, LinksWithoutRows(links_, fromText), settings_.Parser(),
                               built.request, built.failure);
    RefreshKnownCards();
  }
  built.specs = input_.specs;
  built.board = cards_.Board();
  return built;
}

PickerOutcome HandsModel::AcceptPicker(int target, const std::vector<CardIndex>& selection) {
  const PickerOutcome outcome = cards_.AcceptPicker(target, selection);
  if (!outcome.accepted) return outcome;
  if (target == kDeadTarget) {
    SetText(kDeadTextSlot, cards_.DeadText());
    return outcome;
  }
  SetText(target, cards_.PlayerText(target));
  SetCurrentRow(target);
  if (selection.size() < 2) return outcome;
  // The row's range is the picked hand alone until the next apply parses the text.
  quillet::Spec& spec = input_.specs[target];
  spec.clear();
  spec.AddCombo(selection[0], selection[1]);
  SetModified(target, true);
  RefreshKnownCards();
  return outcome;
}

void HandsModel::ClearRow(int row) {
  if (!ValidRow(row)) return;
  ClearRowInput(row);
  // The row's open editor empties with its box.
  if (CFerroxDoc* document = documents_[row]) document->Clear();
}

SavedHand HandsModel::Snapshot() const {
  SavedHand hand;
  for (int row = 0; row < kHandRows; ++row) {
    hand.ranges[row] = input_.texts[row];
    hand.playerCards[row] = cards_.PlayerCards(row);
    if (const CFerroxDoc* document = documents_[row])
      hand.editors.push_back({row, agreedText_[row].toStdWString(), document->BuiltRange(), document->BandLow(),
                              document->BandHigh()});
  }
  hand.deadText = input_.texts[kDeadTextSlot];
  hand.board = cards_.Board();
  hand.dead = cards_.Dead();
  return hand;
}

std::vector<int> HandsModel::Restore(const SavedHand& hand, const std::array<quillet::Spec, kHandRows>& specs) {
  for (int row = 0; row < kHandRows; ++row) {
    const bool kept = std::any_of(hand.editors.begin(), hand.editors.end(),
                                  [row](const SavedEditor& e) { return e.player == row; });
    if (!kept) CloseDocument(row);
  }
  cards_.Replace(hand.board, hand.dead, hand.playerCards);
  for (int row = 0; row < kHandRows; ++row) {
    SetText(row, QString::fromStdWString(hand.ranges[row]));
    SetModified(row, false);
  }
  SetText(kDeadTextSlot, QString::fromStdWString(hand.deadText));
  input_.specs = specs;
  std::vector<int> made;
  for (const SavedEditor& saved : hand.editors) {
    bool created = false;
    CFerroxDoc* document = DocumentFor(saved.player, created);
    if (created) made.push_back(saved.player);
    agreedText_[saved.player] = QString::fromStdWString(saved.text);
    document->SetTitle(QStringLiteral("Hand Range %1 ").arg(RowName(saved.player)));
    document->Restore(saved.range, agreedText_[saved.player], saved.bandLow, saved.bandHigh);
  }
  RefreshKnownCards();
  return made;
}

void HandsModel::ClearRowInput(int row) {
  SetText(row, {});
  agreedText_[row].clear();
  cards_.ClearPlayerHand(row);
}

void HandsModel::ClearDead() {
  SetText(kDeadTextSlot, {});
  cards_.ClearDead();
}

void HandsModel::ClearStreet(Street street) { cards_.ClearStreet(street); }

void HandsModel::ClearAll() {
  for (int row = 0; row < kHandRows; ++row) {
    ClearRowInput(row);
    if (row < 3) ClearStreet(static_cast<Street>(row));
  }
}

void HandsModel::ClearLinkedDocuments() {
  for (int slot = 0; slot < kHandRows; ++slot)
    if (CFerroxDoc* document = links_.Document(slot); document && (settings_.UseMode() || slot == 1))
      document->Clear();
}

}  // namespace ferrox
