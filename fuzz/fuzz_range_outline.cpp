// The range outline file: any bytes read as an outline give a tree whose every parent comes
// before its children; that tree written as an outline reads back as the same tree, and
// writing it again gives the same bytes.
//
// Input: the outline file's bytes.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "model/RangeOutline.h"

namespace {

using namespace ferrox;

bool WellFormed(const RangeOutline& outline) {
  const auto& items = outline.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const int parent = items[i].parent;
    if (parent < -1 || parent >= static_cast<int>(i)) return false;
    if (outline.Depth(static_cast<int>(i)) != (parent < 0 ? 0 : outline.Depth(parent) + 1)) return false;
    if (RangeOutline::IsItemCode(items[i].code) && RangeOutline::ImageOf(items[i].code) != items[i].image) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  const auto input = fuzz::WriteScratch("outline.xml", bytes.Rest());
  const auto read = RangeOutline::Read(input);
  FUZZ_CHECK(read.has_value());
  FUZZ_CHECK(WellFormed(*read));

  const auto output = fuzz::ScratchDir() / "written.xml";
  std::string reason;
  FUZZ_CHECK(read->Write(output, reason));
  const auto again = RangeOutline::Read(output);
  FUZZ_CHECK(again.has_value());
  FUZZ_CHECK_TEXT(*again == *read, read->ToText());
  FUZZ_CHECK(again->ToText() == read->ToText());
  return 0;
}
