#include "core/Orderings.h"

#include <array>
#include <optional>
#include <sstream>

#include "core/EchoedText.h"
#include "core/TextFileProblem.h"
#include "core/WideText.h"
#include "quillet/Files.h"

namespace ferrox {
namespace {

// A message names a few of the classes left out; the count says the rest.
constexpr int kMissingListed = 3;

std::wstring Widen(const std::string& bytes) {
  std::wstring wide;
  for (unsigned char c : bytes) wide += static_cast<wchar_t>(c);
  return wide;
}

std::wstring LineText(int line) { return L"line " + std::to_wstring(line) + L": "; }

std::wstring MissingClasses(const std::array<int, quillet::kClassCount>& lineOf, int named) {
  if (named == 0) return L"it names no hand class; an ordering names all 81, best first";
  std::wstring listed;
  int missing = 0;
  for (int cell = 0; cell < quillet::kClassCount; ++cell) {
    if (lineOf[cell] != 0) continue;
    if (++missing <= kMissingListed)
      listed += (listed.empty() ? L"" : L", ") + quillet::ClassLabel(quillet::AllClassesInMatrixOrder()[cell]);
  }
  if (missing > kMissingListed) listed += L" and " + std::to_wstring(missing - kMissingListed) + L" more";
  return L"it names " + std::to_wstring(named) + L" of the 81 hand classes; missing: " + listed;
}

// The lines as the library reads them: the first word of each, '#' lines skipped.
std::wstring ContentProblem(const std::string& text) {
  std::array<int, quillet::kClassCount> lineOf{};
  std::istringstream in(text);
  std::string line;
  int number = 0, named = 0;
  while (std::getline(in, line)) {
    ++number;
    std::istringstream words(line);
    std::string label;
    if (!(words >> label) || label[0] == '#') continue;
    const std::optional<quillet::HandClass> hc = quillet::ParseClassLabel(Widen(label));
    if (!hc) return LineText(number) + QuotedInput(FromUtf8(label)) + L" is not a hand class";
    int& first = lineOf[quillet::MatrixCell(*hc)];
    if (first != 0)
      return LineText(number) + quillet::ClassLabel(*hc) + L" again (first on line " + std::to_wstring(first) + L")";
    first = number;
    ++named;
  }
  if (named != quillet::kClassCount) return MissingClasses(lineOf, named);
  return {};
}

}  // namespace

int LoadOrdering(quillet::Spec& ordering, const std::filesystem::path& file, std::wstring* problem) {
  ordering.SetTotalStrategies(quillet::kClassCount);
  ordering.SetTotalHands(quillet::kTotalCombos);
  ordering.SetFile(file);
  const int read = ordering.ReadSpectrFromFile(1);
  if (problem) {
    problem->clear();
    if (read == 0) {
      *problem = OrderingFileProblem(file);
      if (problem->empty()) *problem = L"it is no ordering of the 81 hand classes";
    }
  }
  return read;
}

std::wstring OrderingFileProblem(const std::filesystem::path& file) {
  std::wstring problem;
  const auto bytes = ReadFileBytes(file, kOrderingFileMaxBytes, problem);
  if (!bytes) return problem;
  problem = ContentProblem(*bytes);
  // "UTF-16 text" tells more than the line it breaks on.
  if (!problem.empty() && !TextProblem(*bytes).empty()) return TextProblem(*bytes);
  return problem;
}

void LoadDefaultOrderings(OrderingRanges& orderings, const std::filesystem::path& folder) {
  LoadOrdering(orderings.standard, folder / kDefaultStandardOrderingFile, &orderings.standardProblem);
  LoadOrdering(orderings.straightBeatsSet, folder / kDefaultStraightBeatsSetOrderingFile,
               &orderings.straightBeatsSetProblem);
}

const OrderingRanges& OrderingsNextToProgram() {
  static const OrderingRanges orderings = [] {
    OrderingRanges o;
    LoadDefaultOrderings(o, quillet::GetDataDir());
    return o;
  }();
  return orderings;
}

}  // namespace ferrox
