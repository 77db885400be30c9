#pragma once
// Reader of Windows-style INI files: "[Section]", "key=value", ';' or '#' comments.
// Every call reads the file again, so edits made while the program runs are seen.

#include <filesystem>
#include <string>
#include <string_view>

namespace ferrox {

class CIni {
 public:
  CIni() = default;
  explicit CIni(std::filesystem::path path) : path_(std::move(path)) {}

  void SetPath(std::filesystem::path path) { path_ = std::move(path); }
  const std::filesystem::path& Path() const { return path_; }

  // Section and key names match case-insensitively. Values lose surrounding blanks and one
  // pair of surrounding double quotes. Anything missing or unreadable gives defaultValue.
  std::wstring GetString(std::wstring_view section, std::wstring_view key,
                         std::wstring_view defaultValue) const;
  // Reads the value like strtoul in base 2, 8 or 16 when asked, else base 10; only its first
  // 64 characters count. An empty value gives defaultValue.
  unsigned GetUInt(std::wstring_view section, std::wstring_view key, unsigned defaultValue,
                   int base = 10) const;

 private:
  bool Find(std::wstring_view section, std::wstring_view key, std::wstring& value) const;

  std::filesystem::path path_;
};

}  // namespace ferrox
