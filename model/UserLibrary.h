#pragma once
// The user range library: a tree of folders and named ranges read from an XML file at
// start-up and kept for the program's lifetime. Every edit of the range tree pane changes
// this document and then writes it out whole, through a temporary file renamed over the
// old one, to the output file named at construction. That file is the user's: an edit he
// could not make to it in place is refused, a link at its name is written through to the
// file it leads to, and the file keeps its mode and owner (quillet::ReplaceUserFile).
//
// The file is read and written in the encoding its declaration names (xmldoc/FileText.h);
// one the program cannot write again as it was read (an encoding it does not know, or
// bytes that are not text of that encoding) is shown but takes no edit.
//
// Plain C++ (no Qt), so that the fuzz target can build it on its own.
//
// Nodes are named by paths: the range tree's item texts from the selected item up to and
// including the root "User-defined-ranges". Resolution consumes the path from its end,
// each time taking the first child element whose key equals the entry (the key is the
// value of the element's first attribute, or its name when it has none).
//
// The reader joins the file's lines without their line ends; the writer writes a line end
// inside a name or a range text as a character reference, so that it survives a reload.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "xmldoc/FileText.h"
#include "xmldoc/Node.h"

namespace ferrox {

inline constexpr std::wstring_view kUserLibraryRoot = L"User-defined-ranges";
// Every edit is written to this file in the working folder, whatever file was loaded.
inline constexpr char kUserLibraryFileName[] = "UserRanges.xml";
// Larger files are refused: a library is a few kilobytes, and the whole text is held twice.
inline constexpr std::uintmax_t kUserLibraryMaxBytes = 16u << 20;

// Kind codes of the range tree's items (and of its outline file); the edits take 2, 10 and 20.
enum UserItemKind : int {
  kRangesContainerItem = 0,
  kTaviContainerItem = 1,
  kLibraryRootItem = 2,
  kFolderItem = 10,
  kRangeItem = 20,
  kRangeTextItem = 21,    // a range's first child: its range text
  kPercentTextItem = 22,  // a range's second child: its share of all starting hands
};

// Where a new folder or range goes, relative to the node a path names.
enum class InsertWhere { FirstChild, Before, After };

// From the selected item's text up to and including kUserLibraryRoot.
using UserLibraryPath = std::vector<std::wstring>;

struct UserLibraryLoad {
  bool ok = false;
  std::wstring message;  // to show the user; empty for a silent failure
};

// A "Range" element's texts, by attribute position; a missing one is empty.
struct UserRangeTexts {
  std::wstring name;
  std::wstring value;
  std::wstring percent;
};

class UserLibrary {
 public:
  explicit UserLibrary(std::filesystem::path outputFile);
  ~UserLibrary();
  UserLibrary(const UserLibrary&) = delete;
  UserLibrary& operator=(const UserLibrary&) = delete;

  // Replaces the document with the file's. On any failure the document is left empty.
  UserLibraryLoad Load(const std::filesystem::path& file);
  bool Loaded() const { return loaded_; }
  // Where every edit is written, and when that is a link, the file it leads to, where the
  // edits go.
  const std::filesystem::path& OutputFile() const { return outputFile_; }
  std::optional<std::filesystem::path> OutputLinkTarget() const;

  // The document node (its children are the file's top-level nodes); empty until a load
  // succeeds.
  const xml::Node& Document() const { return *document_; }

  // The edits. Each resolves its path first; a path that does not resolve changes nothing
  // and writes nothing. After a change the document is written; when that fails the change
  // is undone. False on any failure, with the reason in LastError().
  bool RemoveNode(const UserLibraryPath& path);
  // kind 10 or 20: the first attribute (the name) becomes newName.
  bool RenameNode(const UserLibraryPath& path, const std::wstring& newName, int kind);
  // A new folder as the first child of the named node, or just before or after it.
  bool InsertFolder(const UserLibraryPath& path, const std::wstring& name, InsertWhere where);
  // overwrite: the named range (kind 20), or the named folder's or root's child range whose
  // name is `name` (kind 10, 2), takes value and percent. Else a new range: the last child
  // of the named folder or root (kind 10, 2), or before or after the named range (kind 20).
  bool PutRange(const UserLibraryPath& path, const std::wstring& name, const std::wstring& value,
                const std::wstring& percent, int kind, bool overwrite, InsertWhere where);
  // Moves the named element one place up or down among its sibling elements; false at the
  // end it would move past. The element moves as it is: name, value and percent are what
  // the pane shows and are not written again.
  bool MoveRange(const UserLibraryPath& path, const std::wstring& name, const std::wstring& value,
                 const std::wstring& percent, bool up);

  const std::wstring& LastError() const { return error_; }
  // The element a path names, as the edits resolve it; null when it names none. Changes
  // nothing, so a caller can see beforehand which element an edit will change.
  const xml::Node* Find(const UserLibraryPath& path) const;
  // The element the last edit made when it was an InsertFolder or PutRange that made one;
  // null after any other edit.
  const xml::Node* LastAdded() const { return added_; }

  // The n-th attribute's value (0 the first), empty when the element has fewer.
  static std::wstring AttributeAt(const xml::Node& element, std::size_t n);
  // A "Folder" element's name (its first attribute).
  static std::wstring FolderName(const xml::Node& element) { return AttributeAt(element, 0); }
  static UserRangeTexts RangeTexts(const xml::Node& element);
  // The tree item kind an element is shown as, or -1 for none (then its children are shown
  // in its place). Names are compared exactly.
  static int ItemKindOf(const xml::Node& element);

 private:
  bool CanEdit();
  xml::Node* Resolve(const UserLibraryPath& path);
  // Writes the document; on failure runs undo and keeps the reason.
  bool Commit(const std::function<void()>& undo);
  // Keeps node as the one the edit added when it was committed.
  bool Added(const xml::Node* node, bool committed);
  bool Fail(std::wstring reason);

  std::filesystem::path outputFile_;
  std::unique_ptr<xml::Node> document_;
  bool loaded_ = false;
  // The parser's message when the last load met an error: edits are refused with it.
  std::wstring parseError_;
  // How the file was encoded, to write it the same way; why it cannot be, when it cannot
  // (edits are then refused with that).
  xml::Charset charset_ = xml::Charset::Utf8;
  bool byteOrderMark_ = false;
  std::wstring encodingError_;
  std::wstring error_;
  const xml::Node* added_ = nullptr;
};

}  // namespace ferrox
