#pragma once
// The predefined rankings ("Range6Plus.xml" in the working folder): percent rankings in
// categories and folders, read at start-up into a category table and a folder table for
// the rankings pane. The document is kept: the pane's edits change it and write it back
// whole, through a temporary file renamed over the old one, as the user's file: an edit he
// could not make to it in place is refused, a link at its name is written through, and it
// keeps its mode and owner (quillet::ReplaceUserFile). A file that did not load is never
// written.
//
// Reading visits every node in document order with a current category (0 at the start),
// element, folder, ranking and last value; see PredefinedRanges.cpp. The edits take an
// element's text to be its first text child: a "Folder" element holds its rankings too.

#include <QDomDocument>
#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/RangeParser.h"
#include "quillet/UserFolder.h"

namespace ferrox {

inline constexpr char kPredefinedRangesFileName[] = "Range6Plus.xml";
// Written when the file is missing: one line, no line end.
inline constexpr char kDefaultPredefinedRanges[] =
    "<?xml version=\"1.0\" encoding=\"windows-1251\" ?><Ranges><Equilab></Equilab><Corvane></Corvane>"
    "<User-defined-ranges></User-defined-ranges></Ranges>";
// Larger files are refused, so that a stray huge file cannot stall the start.
inline constexpr qint64 kPredefinedRangesMaxBytes = 16 << 20;

// Category numbers of the category table.
enum RankingCategory : int {
  kEquilabCategory = 0,      // the "Tavi Rankings" node
  kUserDefinedCategory = 2,  // the "User-defined Rankings" node
  kUserFolderCategory = 3,   // the pane: a ranking selected inside a user folder
};

// The element kinds the pane renames and deletes.
enum class RankingElement { Folder, RangeName };

// (folder name, ranking name)
using RankingKey = std::pair<std::wstring, std::wstring>;

class CRange {
 public:
  CRange() = default;
  CRange(const CRange&) = default;
  CRange& operator=(const CRange&) = default;
  virtual ~CRange() = default;

  std::wstring name;
  double percent = 0.0;
  std::wstring value;  // the range text
};

class CAllRanges {
 public:
  CAllRanges() = default;
  CAllRanges(const CAllRanges&) = default;
  CAllRanges& operator=(const CAllRanges&) = default;
  virtual ~CAllRanges() = default;

  std::map<RankingKey, CRange> ranges;
};

using CategoryTable = std::map<int, CAllRanges>;
using FolderTable = std::map<std::wstring, quillet::CUserFolder>;

// One ranking of a folder, with the category it is filed under.
struct FolderRanking {
  int category = 0;
  CRange range;
};

// The leading number of text, as C's wtof reads it (blanks, sign, digits, point,
// exponent; anything after is ignored); 0 when there is none or it is not finite.
double LeadingNumber(const std::wstring& text);

class PredefinedRanges : public QObject {
  Q_OBJECT

 public:
  // file: the path of "Range6Plus.xml"; it is created there when missing.
  explicit PredefinedRanges(QString file, QObject* parent = nullptr);

  const QString& FilePath() const { return file_; }

  // Creates the default file when it is missing, then reads the file into the tables
  // (which it does not clear). False when the file does not load: then ParseError() says
  // why and every edit is refused.
  bool LoadPredefinedRanges();
  // Clears both tables, loads, and gives every folder its parsed ranges (texts the parser
  // rejects are left out) and interpolation. Returns what loading returned; emits
  // tablesChanged.
  bool BuildRankingTables(const RangeParser& parser);

  bool Loaded() const { return loaded_; }
  // Why creating the missing file failed (the system's reason), empty when it did not.
  const std::wstring& FileError() const { return fileError_; }
  // Why the file did not load (with line and column), empty when it did.
  const std::wstring& ParseError() const { return parseError_; }
  // Why the last edit failed.
  const std::wstring& LastError() const { return lastError_; }
  // When the file is a link: the file it leads to, where the edits go.
  std::optional<std::filesystem::path> LinkTarget() const;

  const CategoryTable& Categories() const { return categories_; }
  const FolderTable& Folders() const { return folders_; }

  // --- queries of the rankings pane ---
  std::vector<std::wstring> FolderNames() const;  // in table order
  bool IsFolder(const std::wstring& name) const;
  const quillet::CUserFolder* Folder(const std::wstring& name) const;
  // The folder's rankings in every category, by name, then category.
  std::vector<FolderRanking> RankingsOf(const std::wstring& folder) const;
  // The ranking's range text in category, else in the first category that has it.
  std::optional<std::wstring> RangeText(int category, const std::wstring& folder,
                                        const std::wstring& name) const;
  const CRange* Find(int category, const std::wstring& folder, const std::wstring& name) const;

  // --- the pane's edits: each changes the document, writes it, reads the tables again
  // from it (keeping the ranges parsed so far) and emits
  // tablesChanged; false with LastError() when refused, when writing fails or when the
  // text written would not load (the file, document and tables are then as before).
  // Empty or blank names and texts, and characters XML cannot hold, are refused. ---
  // A "Folder" element under "User-defined-ranges".
  bool AddFolder(const std::wstring& folder);
  // A "Range" (RangeName, Value, Percent "%.2f") in the user folder whose text up to its
  // first blank is folder (a new folder element when there is none), so filed under
  // kUserDefinedCategory. With a parser its range joins the folder's interpolation too.
  bool AddRanking(const std::wstring& folder, const std::wstring& name, const std::wstring& value,
                  double percent, const RangeParser* parser = nullptr);
  // The first element of the kind whose text is oldText gets newText.
  bool Rename(RankingElement kind, const std::wstring& oldText, const std::wstring& newText);
  // The first element of the kind whose text is text goes; a ranking with its "Range", a
  // folder with the rankings inside it.
  bool Delete(RankingElement kind, const std::wstring& text);
  // A ranking of that folder: where two folders hold rankings of one name, the right one.
  bool RenameRanking(const std::wstring& folder, const std::wstring& oldName, const std::wstring& newName);
  bool DeleteRanking(const std::wstring& folder, const std::wstring& name);
  // The same with the element name, "Folder" or "RangeName" (any letter case).
  bool Rename(const std::wstring& kind, const std::wstring& oldText, const std::wstring& newText);
  bool Delete(const std::wstring& kind, const std::wstring& text);

  // Writes the document back as it is (refused like an edit when it did not load).
  bool Save();

  const QDomDocument& Document() const { return document_; }

 signals:
  void tablesChanged();

 private:
  bool CreateDefaultFile();
  bool ReadDocument();
  void ApplyReadingRules();
  // Rebuilds the tables from the document, keeping the ranges parsed before; texts not
  // parsed before are parsed with parser when there is one.
  void RebuildTables(const RangeParser* parser);
  void FillSpecs(quillet::CUserFolder& folder, const RangeParser* parser);
  // Runs edit on the document and writes it; on any failure the document is as before.
  bool RunEdit(const std::function<bool()>& edit, const RangeParser* parser = nullptr);
  bool WriteDocument();
  bool CanEdit();
  // A null element: "There is no ..." for the kind and text.
  bool RenameElement(QDomElement element, RankingElement kind, const std::wstring& oldText, const std::wstring& newText);
  bool DeleteElement(QDomElement element, RankingElement kind, const std::wstring& text);
  bool Fail(std::wstring reason);

  QString file_;
  QDomDocument document_;
  bool loaded_ = false;
  std::wstring fileError_;
  std::wstring parseError_;
  std::wstring lastError_;
  CategoryTable categories_;
  FolderTable folders_;
  // Range text -> its range, or nullopt when the parser rejected it.
  std::map<std::wstring, std::optional<quillet::Spec>> parsed_;
};

}  // namespace ferrox
