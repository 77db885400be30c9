#pragma once
// Small file helpers for the start-up service tests.

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/services/PathText.h"

namespace ferrox::test {

inline std::filesystem::path PathOf(const QTemporaryDir& dir) { return ToPath(dir.path()); }

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace ferrox::test
