#pragma once
// Shared by the fuzz targets: turning fuzz bytes into texts, property checks that stop the
// run, and scratch files.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "core/Orderings.h"
#include "core/RangeParser.h"
#include "core/WideText.h"
#include "quillet/Files.h"

namespace ferrox::fuzz {

// A broken property must end the run like a crash, so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\nPROPERTY FAILED at %s:%d: %s\n", file, line, what);
  std::abort();
}

// The text involved, printable ASCII as is and anything else as \u{...}.
inline std::string Escaped(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) {
    if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
    else {
      char code[16];
      std::snprintf(code, sizeof code, "\\u{%X}", static_cast<unsigned>(c));
      out += code;
    }
  }
  return out;
}

[[noreturn]] inline void Fail(const char* what, const char* file, int line, std::wstring_view text) {
  std::fprintf(stderr, "\nwith text \"%s\"", Escaped(text).c_str());
  Fail(what, file, line);
}

#define FUZZ_CHECK_TEXT(condition, text)                                           \
  do {                                                                             \
    if (!(condition)) ::ferrox::fuzz::Fail(#condition, __FILE__, __LINE__, (text)); \
  } while (false)

#define FUZZ_CHECK(condition)                                              \
  do {                                                                     \
    if (!(condition)) ::ferrox::fuzz::Fail(#condition, __FILE__, __LINE__); \
  } while (false)

// Reads the fuzz bytes front to back; past the end every read gives 0.
class Bytes {
 public:
  Bytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }
  std::size_t left() const { return size_ - pos_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Word() {
    uint32_t w = 0;
    for (int i = 0; i < 4; ++i) w = w << 8 | Byte();
    return w;
  }
  std::string_view Take(std::size_t n) {
    n = std::min(n, left());
    const std::string_view s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  std::string_view Rest() { return Take(left()); }
  // Up to the next `end` byte (dropped), or the rest.
  std::string_view Until(char end) {
    const std::string_view rest(reinterpret_cast<const char*>(data_ + pos_), left());
    const auto at = rest.find(end);
    if (at == std::string_view::npos) return Rest();
    pos_ += at + 1;
    return rest.substr(0, at);
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Wide text as the readers get it: from UTF-8 (the command-line tool), byte by byte
// (Latin-1), or as raw 32-bit units, which may be no character at all.
inline std::wstring WideOf(std::string_view bytes, int mode) {
  switch (mode % 3) {
    case 0: return FromUtf8(bytes);
    case 1: {
      std::wstring text;
      for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
      return text;
    }
    default: {
      std::wstring text;
      for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        uint32_t unit = 0;
        for (std::size_t k = 0; k < 4; ++k) unit = unit << 8 | static_cast<unsigned char>(bytes[i + k]);
        text += static_cast<wchar_t>(unit);
      }
      return text;
    }
  }
}

// A folder of this process's own for scratch files, removed at exit: in
// $FERROX_FUZZ_SCRATCH, else in memory (/dev/shm) when possible, as files are written each run.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (const char* chosen = std::getenv("FERROX_FUZZ_SCRATCH"); chosen && *chosen) base = chosen;
    else if (!std::filesystem::is_directory(base, ec) || ::access(base.c_str(), W_OK) != 0)
      base = std::filesystem::temp_directory_path();
    auto d = base / ("ferrox-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code e;
      std::filesystem::remove_all(ScratchDir(), e);
    });
    return d;
  }();
  return dir;
}

inline std::filesystem::path WriteScratch(const char* name, std::string_view bytes) {
  const auto file = ScratchDir() / name;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  FUZZ_CHECK(out.good());
  return file;
}

// Folder of the data files (ordering files): $FERROX_DATA_DIR, else next to the program.
inline std::filesystem::path DataDir() {
  if (const char* dir = std::getenv("FERROX_DATA_DIR"); dir && *dir) return dir;
  return quillet::GetExecDir();
}

// Parsers over the shipped ordering files, both rule sets; a run without the files would
// test nothing of the percent forms, so it stops.
struct Parsers {
  OrderingRanges orderings;
  RangeParser standard{orderings, quillet::kRulesStandard};
  RangeParser straightBeatsSet{orderings, quillet::kRulesStraightBeatsSet};
};

inline const Parsers& ShippedParsers(const char* target) {
  static const Parsers* parsers = [target] {
    auto* p = new Parsers;
    const auto dir = DataDir();
    if (LoadOrdering(p->orderings.standard, dir / kDefaultStandardOrderingFile) != quillet::kClassCount ||
        LoadOrdering(p->orderings.straightBeatsSet, dir / kDefaultStraightBeatsSetOrderingFile) !=
            quillet::kClassCount) {
      std::fprintf(stderr, "%s: no ordering files in %s (set FERROX_DATA_DIR)\n", target, dir.c_str());
      std::exit(1);
    }
    return p;
  }();
  return *parsers;
}

}  // namespace ferrox::fuzz
