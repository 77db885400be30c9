// Orderings of the hand classes: reading an ordering file and cutting the top percent.
//
// File format (UTF-8 or ASCII text): one hand class per line, best first ("AA", "AKs",
// "KQo"); anything after the label on a line, and lines starting with '#', are ignored.
// A file must name every class exactly once.
#include <sstream>
#include <unordered_set>

#include "quillet/Files.h"
#include "quillet/Spec.h"

namespace quillet {
namespace {

constexpr std::uintmax_t kMaxOrderingFileBytes = 1 << 20;

std::wstring Widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

bool ParseOrdering(std::istream& in, std::vector<HandClass>& classes) {
  std::unordered_set<int> seen;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string label;
    if (!(words >> label) || label[0] == '#') continue;
    const auto hc = ParseClassLabel(Widen(label));
    if (!hc || !seen.insert(MatrixCell(*hc)).second) return false;
    classes.push_back(*hc);
  }
  return true;
}

}  // namespace

int Spec::ReadSpectrFromFile(int mode) {
  ordering_.clear();
  if (mode != 1) return 0;
  // Never waits: a FIFO or a device at the name is no ordering.
  const auto bytes = ReadRegularFile(file_, kMaxOrderingFileBytes);
  if (!bytes) return 0;
  std::istringstream in(*bytes);

  std::vector<HandClass> classes;
  if (!ParseOrdering(in, classes)) return 0;
  int hands = 0;
  for (const auto& hc : classes) hands += ClassSize(hc.kind);
  if (static_cast<int>(classes.size()) != totalStrategies_ || hands != totalHands_) return 0;
  ordering_ = std::move(classes);
  return static_cast<int>(ordering_.size());
}

int Spec::GetSpecByPercent(double percent, Spec& out) const {
  out.clear();
  int taken = 0;
  for (const auto& hc : ordering_) {
    if (!(taken * 100.0 / kTotalCombos < percent)) break;
    taken += out.AddClass(hc);
  }
  return static_cast<int>(out.size());
}

}  // namespace quillet
