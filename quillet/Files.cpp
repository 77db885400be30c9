#include "quillet/Files.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace quillet {

std::filesystem::path GetExecDir() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

bool TrimLogFile(const std::filesystem::path& file, std::uintmax_t keepBytes,
                 std::uintmax_t maxBytes) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec) return false;
  if (size <= maxBytes) return true;

  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  in.seekg(static_cast<std::streamoff>(size - std::min(keepBytes, size)));
  std::vector<char> tail((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  // Start at a whole line.
  auto start = tail.begin();
  if (keepBytes < size) {
    const auto nl = std::find(tail.begin(), tail.end(), '\n');
    if (nl != tail.end()) start = nl + 1;
  }

  auto temp = file;
  temp += ".trim";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(tail.data() + (start - tail.begin()), tail.end() - start);
    if (!out) return false;
  }
  std::filesystem::rename(temp, file, ec);
  return !ec;
}

std::wstring LastName(const std::wstring& path) {
  const auto pos = path.find_last_of(L"/\\");
  return pos == std::wstring::npos ? path : path.substr(pos + 1);
}

}  // namespace quillet
