#include "model/RangeOutline.h"

#include <climits>

#include "core/WideText.h"
#include "model/UserLibrary.h"
#include "quillet/Files.h"

namespace ferrox {

namespace {

// The code written on an item's first line when its own code would show another image.
int CodeForImage(int image) {
  switch (image) {
    case 1: return kRangeItem;
    case 2: return kFolderItem;
    case 7: return kRangeTextItem;
    default: return 0;
  }
}

bool KnownImage(int image) { return image == 0 || image == 1 || image == 2 || image == 7; }

int LeadingTabs(std::wstring_view line) {
  const auto first = line.find_first_not_of(L'\t');
  return static_cast<int>(first == std::wstring_view::npos ? line.size() : first);
}

// Up to the next LF, without it and a CR before it; advances text past it.
std::wstring_view NextLine(std::wstring_view& text) {
  const auto end = text.find(L'\n');
  if (end == std::wstring_view::npos) {
    const std::wstring_view last = text;
    text = {};
    return last;
  }
  std::wstring_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
  return line;
}

void AppendLine(std::wstring& out, int depth, std::wstring_view text, int code) {
  out.append(static_cast<std::size_t>(depth), L'\t');
  out += text;
  out += L'|';
  out += std::to_wstring(code);
  out += L"\r\n";
}

}  // namespace

int RangeOutline::Add(int parent, std::wstring text, int code, int image) {
  const int last = static_cast<int>(items_.size()) - 1;
  // Only the last item and its ancestors can take a child without breaking pre-order.
  int onPath = last;
  while (onPath >= 0 && onPath != parent) onPath = items_[onPath].parent;
  if (parent != -1 && onPath != parent) return -1;
  // Only a code no line could insert may show another code's image.
  if (IsItemCode(code)) image = ImageOf(code);
  else if (!KnownImage(image)) image = 0;
  items_.push_back({parent, std::move(text), code, image});
  depths_.push_back(parent < 0 ? 0 : depths_[parent] + 1);
  return last + 1;
}

int RangeOutline::Up(int index, int levels) const {
  for (; index >= 0 && levels > 0; --levels) index = items_[index].parent;
  return index;
}

RangeOutline RangeOutline::Parse(std::wstring_view text) {
  RangeOutline outline;
  std::wstring_view rest = text;
  const int baseDepth = LeadingTabs(NextLine(rest));
  rest = text;
  while (!rest.empty()) {
    const std::wstring_view line = NextLine(rest);
    if (!line.empty()) outline.ParseLine(line, baseDepth);
  }
  return outline;
}

void RangeOutline::ParseLine(std::wstring_view line, int baseDepth) {
  const int tabs = LeadingTabs(line);
  line.remove_prefix(static_cast<std::size_t>(tabs));
  const auto bar = line.rfind(L'|');
  const std::wstring_view text = bar == std::wstring_view::npos ? std::wstring_view() : line.substr(0, bar);
  const int code = CodeOf(bar == std::wstring_view::npos ? line : line.substr(bar + 1));
  const int last = static_cast<int>(items_.size()) - 1;
  if (!IsItemCode(code)) {
    if (last >= 0) items_[last].code = code;
    return;
  }
  const int depth = tabs - baseDepth;
  const int lastDepth = last >= 0 ? depths_[last] : 0;
  int parent = last;
  if (depth == lastDepth) parent = last >= 0 ? items_[last].parent : -1;
  else if (depth < lastDepth) parent = Up(last, lastDepth - depth + 1);
  Add(parent, std::wstring(text), code);
}

std::wstring RangeOutline::ToText() const {
  std::wstring out;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    if (ImageOf(item.code) == item.image) {
      AppendLine(out, depths_[i], item.text, item.code);
      continue;
    }
    // A code line inserts nothing and hands its code to the item just read.
    AppendLine(out, depths_[i], item.text, CodeForImage(item.image));
    AppendLine(out, depths_[i], {}, item.code);
  }
  return out;
}

std::optional<RangeOutline> RangeOutline::Read(const std::filesystem::path& file) {
  const auto bytes = quillet::ReadRegularFile(file, kRangeOutlineMaxBytes);
  if (!bytes) return std::nullopt;
  return Parse(FromUtf8(*bytes));
}

bool RangeOutline::Write(const std::filesystem::path& file, std::string& error) const {
  return quillet::ReplaceUserFile(file, ToUtf8(ToText()), error);
}

bool RangeOutline::IsItemCode(int code) { return ImageOf(code) >= 0; }

int RangeOutline::ImageOf(int code) {
  switch (code) {
    case kRangesContainerItem:
    case kTaviContainerItem:
    case kLibraryRootItem:
      return 0;
    case kFolderItem:
      return 2;
    case kRangeItem:
      return 1;
    case kRangeTextItem:
    case kPercentTextItem:
      return 7;
    default:
      return -1;
  }
}

int RangeOutline::CodeOf(std::wstring_view text) {
  std::size_t i = 0;
  // The C locale's blanks, whatever locale the program runs in.
  while (i < text.size() && std::wstring_view(L" \t\n\v\f\r").find(text[i]) != std::wstring_view::npos) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    // Past the int range the value only has to stay out of the item codes.
    if (value <= INT_MAX) value = value * 10 + (text[i] - L'0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace ferrox
