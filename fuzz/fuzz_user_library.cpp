// The user range library: a library that loads and is edited writes a file that loads
// again as the edited tree in memory (the blanks the edits put after names are not read
// back); a failed edit leaves the written file as it was; a library that does not load
// refuses every edit.
//
// The file is read in the encoding its declaration names and written back in it; one that
// cannot be written back as it was read takes no edit.
//
// Input: the library's bytes up to a zero byte, then edits of four bytes each: the
// edit (low 3 bits) with overwrite, where and up in the higher bits, the node (an index
// into the tree's elements, root included), the new name (an existing key or a few random
// characters, reserved ones included) and the kind (2, 10, 20 or what the node is).
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "model/UserLibrary.h"
#include "xmldoc/Node.h"

namespace {

using namespace ferrox;
using xml::Node;
using xml::NodeType;

struct Item {
  UserLibraryPath path;
  int kind;
};

std::wstring KeyOf(const Node& element) {
  return element.Attributes().empty() ? element.Name() : element.Attributes().front()->Value();
}

void Collect(const Node& node, UserLibraryPath& path, std::vector<Item>& items) {
  for (const auto& child : node.Children()) {
    if (child->Type() != NodeType::Element) continue;
    path.insert(path.begin(), KeyOf(*child));
    const int kind = UserLibrary::ItemKindOf(*child);
    items.push_back({path, kind < 0 ? kFolderItem : kind});
    if (path.size() < 300) Collect(*child, path, items);
    path.erase(path.begin());
  }
}

std::wstring TrimmedName(std::wstring name) {
  while (!name.empty() && name.back() == L' ') name.pop_back();
  return name;
}

// Same tree, the edits' trailing blanks of element and attribute names aside.
bool SameAsReloaded(const Node& memory, const Node& disk) {
  if (memory.Type() != disk.Type() || memory.Value() != disk.Value() ||
      TrimmedName(memory.Name()) != disk.Name() || memory.Attributes().size() != disk.Attributes().size() ||
      memory.Children().size() != disk.Children().size())
    return false;
  for (std::size_t i = 0; i < memory.Attributes().size(); ++i)
    if (TrimmedName(memory.Attributes()[i]->Name()) != disk.Attributes()[i]->Name() ||
        memory.Attributes()[i]->Value() != disk.Attributes()[i]->Value())
      return false;
  for (std::size_t i = 0; i < memory.Children().size(); ++i)
    if (!SameAsReloaded(*memory.Children()[i], *disk.Children()[i])) return false;
  return true;
}

// Line ends too: the reader joins lines, so the writer must write them as references.
std::wstring RandomName(uint8_t choice, const std::vector<Item>& items, fuzz::Bytes& bytes) {
  if (choice & 0x80 && !items.empty()) return items[(choice & 0x7F) % items.size()].path.front();
  static const std::wstring alphabet = L"aZ09 &<>\"'\\/=%;#\t\r\n\u00E9\u0436\u20AC\U0001F600";
  std::wstring name;
  for (int n = choice % 6; n > 0; --n) name += alphabet[bytes.Byte() % alphabet.size()];
  return name;
}

std::string FileBytes(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return "<none>";
  return quillet::ReadRegularFile(file, kUserLibraryMaxBytes).value_or("<unreadable>");
}

bool RunEdit(UserLibrary& library, uint8_t op, const Item& item, const std::wstring& name, int kind) {
  const auto where = static_cast<InsertWhere>((op >> 4) % 3);
  switch (op & 7) {
    case 0: return library.RemoveNode(item.path);
    case 1: return library.RenameNode(item.path, name, kind);
    case 2: return library.InsertFolder(item.path, name, where);
    case 3: return library.PutRange(item.path, name, name + L"v", L"1.00%", kind, op & 8, where);
    case 4: return library.MoveRange(item.path, name, L"", L"", op & 8);
    default: return library.PutRange(item.path, name, L"AA", L"0%", kind, false, where);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  const auto input = fuzz::WriteScratch("library.xml", bytes.Until('\0'));
  const auto output = fuzz::ScratchDir() / "written.xml";
  std::error_code ec;
  std::filesystem::remove(output, ec);

  UserLibrary library(output);
  const bool loaded = library.Load(input).ok;
  for (int edits = 0; !bytes.empty() && edits < 16; ++edits) {
    const uint8_t op = bytes.Byte();
    std::vector<Item> items;
    UserLibraryPath path;
    Collect(library.Document(), path, items);
    Item item = items.empty() ? Item{{std::wstring(kUserLibraryRoot)}, kLibraryRootItem}
                              : items[bytes.Byte() % items.size()];
    const std::wstring name = RandomName(bytes.Byte(), items, bytes);
    const uint8_t kindByte = bytes.Byte();
    const int kinds[] = {item.kind, kLibraryRootItem, kFolderItem, kRangeItem};
    const int kind = kinds[kindByte % 4];

    const std::string before = FileBytes(output);
    if (!RunEdit(library, op, item, name, kind)) {
      FUZZ_CHECK(!library.LastError().empty());
      FUZZ_CHECK(FileBytes(output) == before);
      continue;
    }
    FUZZ_CHECK(loaded);
    UserLibrary again(fuzz::ScratchDir() / "unused.xml");
    const auto reload = again.Load(output);
    FUZZ_CHECK_TEXT(reload.ok, reload.message);
    FUZZ_CHECK(SameAsReloaded(library.Document(), again.Document()));
  }
  return 0;
}
