// Ordering files: either a complete ordering of the 81 classes, each once, or rejected with
// nothing kept and a reason given.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/Orderings.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace ferrox;
using quillet::HandClass;

std::string Narrow(const std::wstring& ascii) { return {ascii.begin(), ascii.end()}; }

// Loads text into an ordering that held one before; checks the outcome either way.
int Load(std::string_view text, std::vector<HandClass>* ordering = nullptr) {
  quillet::Spec spec;
  spec.SetOrdering(quillet::AllClassesInMatrixOrder());
  const auto file = fuzz::WriteScratch("ordering.txt", text);
  std::wstring problem = L"left from before";
  const int read = LoadOrdering(spec, file, &problem);
  // A file is refused exactly when a reason is given, and the reason is one clean line.
  FUZZ_CHECK((read == 0) == !problem.empty());
  FUZZ_CHECK(OrderingFileProblem(file).empty() == (read != 0));
  for (wchar_t c : problem) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
  quillet::Spec top;
  if (read == 0) {
    FUZZ_CHECK(spec.ordering().empty());
    FUZZ_CHECK(spec.GetSpecByPercent(101, top) == 0);
    return read;
  }
  FUZZ_CHECK(read == quillet::kClassCount);
  FUZZ_CHECK(static_cast<int>(spec.ordering().size()) == quillet::kClassCount);
  std::array<bool, quillet::kClassCount> seen{};
  for (const HandClass& hc : spec.ordering()) {
    const int cell = quillet::MatrixCell(hc);
    FUZZ_CHECK(cell >= 0 && cell < quillet::kClassCount && !seen[cell]);
    seen[cell] = true;
    FUZZ_CHECK(quillet::AllClassesInMatrixOrder()[cell] == hc);
  }
  FUZZ_CHECK(spec.GetSpecByPercent(101, top) == quillet::kTotalCombos);
  if (ordering) *ordering = spec.ordering();
  return read;
}

// An ordering written out, with the blanks, comments and numbers a file may hold: read back
// whole; with a class dropped or named twice: rejected.
void CheckWrittenOrdering(fuzz::Bytes& bytes) {
  std::vector<HandClass> classes = quillet::AllClassesInMatrixOrder();
  for (std::size_t i = classes.size() - 1; i > 0; --i)
    std::swap(classes[i], classes[bytes.Byte() % (i + 1)]);
  const uint8_t style = bytes.Byte();
  std::vector<std::string> lines;
  for (const HandClass& hc : classes) {
    std::string line = Narrow(quillet::ClassLabel(hc));
    const uint8_t dress = bytes.Byte();
    if (dress & 1) line = "  " + line;
    if (dress & 2) line += " 0." + std::to_string(dress);
    if (dress & 4) line += "\t# note";
    if (dress & 8) lines.push_back("# comment " + std::to_string(dress));
    if (dress & 16) lines.emplace_back();
    lines.push_back(line);
  }
  auto join = [&](const std::vector<std::string>& all) {
    std::string text;
    for (const auto& l : all) text += l + (style & 1 ? "\r\n" : "\n");
    if (style & 2) text.pop_back();  // no line end after the last line
    return text;
  };
  std::vector<HandClass> read;
  FUZZ_CHECK(Load(join(lines), &read) == quillet::kClassCount);
  FUZZ_CHECK(read == classes);

  const std::size_t victim = bytes.Byte() % lines.size();
  std::vector<std::string> broken = lines;
  if (style & 4) broken.push_back(lines[victim]);
  else broken.erase(broken.begin() + static_cast<std::ptrdiff_t>(victim));
  const bool aClassLine = !lines[victim].empty() && lines[victim].find_first_not_of(' ') != std::string::npos &&
                          lines[victim][lines[victim].find_first_not_of(' ')] != '#';
  if (aClassLine) FUZZ_CHECK(Load(join(broken)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  if (size > 0 && data[0] == 0xFF) {
    bytes.Byte();
    CheckWrittenOrdering(bytes);
    return 0;
  }
  std::vector<HandClass> first, second;
  const std::string_view text = bytes.Rest();
  const int read = Load(text, &first);
  FUZZ_CHECK(Load(text, &second) == read);
  FUZZ_CHECK(first == second);
  return 0;
}
