// The preflop cache file: the real image is accepted, and every change to it (cut short,
// bytes flipped, bytes appended) is rejected; checking loads nothing.
//
// FERROX_PREFLOP_IMAGE names the cache file of a normal build (bin/Ferrox6Plus-preflop.bin).
// Without it the target starts from a small image that is wrong anyway and checks rejection.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "quillet/PreflopTables.h"

namespace {

struct Image {
  std::string original;
  std::string work;  // the original with mutations applied in place, then undone
  bool real = false;
};

Image& TheImage() {
  static Image* image = [] {
    auto* im = new Image;
    if (const char* file = std::getenv("FERROX_PREFLOP_IMAGE"); file && *file) {
      std::ifstream in(file, std::ios::binary);
      im->original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      if (!in.good() && !in.eof()) im->original.clear();
      im->real = !im->original.empty();
      if (!im->real) {
        std::fprintf(stderr, "fuzz_preflop_cache: cannot read FERROX_PREFLOP_IMAGE=%s\n", file);
        std::exit(1);
      }
    } else {
      std::fprintf(stderr, "fuzz_preflop_cache: no FERROX_PREFLOP_IMAGE, checking rejection only\n");
      // The file's magic and a matchup count, then far too little.
      im->original = std::string("F6PFLOP1") + std::string("\x46\x64\x05\x00", 4) + std::string(64, '\x01');
    }
    if (quillet::PreflopCacheImageValid(im->original) != im->real) {
      std::fprintf(stderr, "fuzz_preflop_cache: the unchanged image is %s\n", im->real ? "rejected" : "accepted");
      std::abort();
    }
    im->work = im->original;
    return im;
  }();
  return *image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Image& image = TheImage();
  std::string& work = image.work;
  const std::size_t full = image.original.size();
  std::size_t length = full;
  std::vector<std::size_t> touched;  // positions written below `full`

  ferrox::fuzz::Bytes bytes(data, size);
  for (int ops = 0; ops < 16 && !bytes.empty(); ++ops) {
    const uint8_t op = bytes.Byte();
    const uint32_t offset = bytes.Word();
    switch (op % 3) {
      case 0:  // cut short
        length = std::min<std::size_t>(length, offset % (full + 1));
        break;
      case 1:  // flip bits of one byte
        if (length == 0) break;
        work[offset % length] = static_cast<char>(work[offset % length] ^ (bytes.Byte() | 1));
        if (offset % length < full) touched.push_back(offset % length);
        break;
      default: {  // append
        const std::size_t n = 1 + op / 3 % 16;
        for (std::size_t k = 0; k < n; ++k) {
          const char c = static_cast<char>(bytes.Byte() ^ offset);
          if (length < work.size()) work[length] = c;
          else work.push_back(c);
          if (length < full) touched.push_back(length);
          ++length;
        }
      }
    }
  }
  bool changed = length != full;
  for (std::size_t at : touched) changed = changed || (at < length && work[at] != image.original[at]);

  const bool valid = quillet::PreflopCacheImageValid(std::string_view(work.data(), length));
  FUZZ_CHECK(valid == (image.real && !changed));
  FUZZ_CHECK(quillet::PreflopCounts(5, 0) == nullptr && quillet::fsm5::FT2R_6 == nullptr);

  for (std::size_t at : touched) work[at] = image.original[at];
  work.resize(full);
  return 0;
}
