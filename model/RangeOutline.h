#pragma once
// The range tree as a plain-text outline file: one line per item in pre-order, as many tabs
// as the item has ancestors, then "text|code" and CR LF. Reading rebuilds the tree from
// the lines' indentation relative to the first line's; a line whose code is no item code
// inserts nothing and gives its code to the item read last.
//
// A line is split at its last "|", so names holding one survive a reload. An item whose
// code differs from the code its image was chosen by (only a loaded file can make one) is
// written as a line for its image plus a line carrying its code, which reads back as the
// same item.
//
// Plain C++ (no Qt), so that the fuzz target can build it on its own.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ferrox {

// An outline is a few kilobytes; the cap also bounds how deep a tree a file can build.
inline constexpr std::uintmax_t kRangeOutlineMaxBytes = 4u << 20;

class RangeOutline {
 public:
  struct Item {
    int parent = -1;  // index of an earlier item, -1 at the top level
    std::wstring text;
    int code = 0;   // the tree item's data
    int image = 0;  // the image number it is shown with
    bool operator==(const Item&) const = default;
  };

  // Appends an item after the ones already there, in pre-order: parent is -1, the last
  // item or one of its ancestors. Returns its index, or -1 (nothing added) for any other
  // parent. An item code brings its own image; other codes keep image when it is one of
  // 0, 1, 2, 7, else get 0.
  int Add(int parent, std::wstring text, int code, int image);
  int Add(int parent, std::wstring text, int code) { return Add(parent, std::move(text), code, ImageOf(code)); }

  const std::vector<Item>& Items() const { return items_; }
  bool Empty() const { return items_.empty(); }
  // Number of ancestors of an item.
  int Depth(int index) const { return depths_.at(static_cast<std::size_t>(index)); }

  static RangeOutline Parse(std::wstring_view text);
  std::wstring ToText() const;

  // nullopt when the file is no readable regular file of at most kRangeOutlineMaxBytes.
  // The bytes are read as UTF-8.
  static std::optional<RangeOutline> Read(const std::filesystem::path& file);
  // Through a temporary file renamed over the old one, as the user's file
  // (quillet::ReplaceUserFile); false with the reason in error.
  bool Write(const std::filesystem::path& file, std::string& error) const;

  // The kind codes a line may insert: 0, 1, 2, 10, 20, 21, 22.
  static bool IsItemCode(int code);
  // 0, 1, 2 -> 0; 10 -> 2; 20 -> 1; 21, 22 -> 7; -1 for any other code.
  static int ImageOf(int code);
  // A C wtoi: blanks, a sign, digits; 0 when no digit follows.
  static int CodeOf(std::wstring_view text);

  bool operator==(const RangeOutline&) const = default;

 private:
  // The ancestor `levels` up from index, -1 past the top.
  int Up(int index, int levels) const;
  void ParseLine(std::wstring_view line, int baseDepth);

  std::vector<Item> items_;
  std::vector<int> depths_;
};

}  // namespace ferrox
