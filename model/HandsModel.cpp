#include "model/HandsModel.h"

#include "engine/RangeResolution.h"
#include "engine/RefusalReason.h"

namespace ferrox {
namespace {

bool ValidRow(int row) { return row >= 0 && row < kHandRows; }

}  // namespace

HandsModel::HandsModel(CalculatorDocument& cards, const PaneSettings& settings, QObject* parent)
    : QObject(parent), cards_(cards), settings_(settings) {}

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
  result.message = ParseOpponents(parser);
  if (!result.message.isEmpty()) return result;
  const QString title = QStringLiteral("Hand Range %1 %2").arg(RowName(row), categoryLabel);
  const std::size_t boardSize = cards_.Board().size();
  if (boardSize == 1 || boardSize == 2) {
    result.message = QString::fromWCharArray(kErrorBoard);
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
  ExcludeKnownCards(row, input_.specs.data(), kHandRows, input_.specs[row], resolved);
  input_.specs[row] = resolved;
  const QString text = Text(row);
  result.document->SetRange(resolved, text);
  result.document->SetTitle(title);
  result.outputLines = SuitCountLines(resolved);
  if (resolved.empty()) {
    SetText(row, QStringLiteral("Error spectr:  ") + text);
    return;
  }
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

CFerroxDoc::KnownCardFilter HandsModel::FilterFor(int slot) const {
  return [this, slot](const quillet::Spec& source) {
    quillet::Spec kept;
    ExcludeKnownCards(slot, input_.specs.data(), kHandRows, source, kept);
    return kept;
  };
}

int HandsModel::RowOf(const CFerroxDoc& document) const {
  for (int row = 0; row < kHandRows; ++row)
    if (documents_[row] == &document) return row;
  return kHeroSlot;
}

BoardStatistics HandsModel::ApplyStatistics(const CFerroxDoc& document) {
  if (document.HasRange()) input_.specs[RowOf(document)] = document.Range();
  return document.Statistics(cards_.Board(), settings_.Rules());
}

BuiltRequest HandsModel::BuildRequest() {
  BuiltRequest built;
  built.ok = ValidateRequest(input_, links_, settings_.Parser(), built.request, built.failure);
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
  return outcome;
}

void HandsModel::ClearRow(int row) {
  if (!ValidRow(row)) return;
  SetText(row, {});
  cards_.ClearPlayerHand(row);
}

void HandsModel::ClearDead() {
  SetText(kDeadTextSlot, {});
  cards_.ClearDead();
}

void HandsModel::ClearStreet(Street street) { cards_.ClearStreet(street); }

void HandsModel::ClearAll() {
  for (int row = 0; row < kHandRows; ++row) {
    ClearRow(row);
    if (row < 3) ClearStreet(static_cast<Street>(row));
  }
}

void HandsModel::ClearLinkedDocuments() {
  for (int slot = 0; slot < kHandRows; ++slot)
    if (CFerroxDoc* document = links_.Document(slot); document && (settings_.UseMode() || slot == 1))
      document->Clear();
}

}  // namespace ferrox
