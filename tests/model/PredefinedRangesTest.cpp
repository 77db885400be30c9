#include <gtest/gtest.h>
#include <unistd.h>

#include <QDomDocument>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "core/WideText.h"
#include "model/PredefinedRanges.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;

// A file as the program's users keep it: two folders of shipped rankings, one of their own.
constexpr char kFile[] =
    "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>"
    "<Ranges><Equilab>"
    "<Folder>Open</Folder>"
    "<Range><RangeName>Tight</RangeName><Value>AA,KK</Value><Percent>1.90</Percent></Range>"
    "<Range><RangeName>Loose</RangeName><Value>QQ+,AKs</Value><Percent>3.17%</Percent></Range>"
    "</Equilab><Corvane>"
    "<Folder>Push</Folder>"
    "<Range><RangeName>Short</RangeName><Value>TT+</Value><Percent>4.76</Percent></Range>"
    "</Corvane><User-defined-ranges>"
    "<Folder>Mine<Range><RangeName>Any</RangeName><Value>nonsense!</Value><Percent>50</Percent></Range></Folder>"
    "</User-defined-ranges></Ranges>";

// Both tables as text, for comparing a memory state with a reloaded one.
std::wstring Dump(const PredefinedRanges& ranges) {
  std::wostringstream out;
  for (const auto& [category, all] : ranges.Categories()) {
    out << L"category " << category << L"\n";
    for (const auto& [key, range] : all.ranges)
      out << L" [" << key.first << L"|" << key.second << L"] " << range.name << L" " << range.percent << L" "
          << range.value << L"\n";
  }
  for (const auto& [name, folder] : ranges.Folders()) {
    out << L"folder [" << name << L"]\n";
    for (const auto& [percent, text] : folder.Texts()) out << L" " << percent << L" " << text << L"\n";
  }
  return out.str();
}

class PredefinedRangesTest : public ::testing::Test {
 protected:
  PredefinedRangesTest() { orderings_.standard.SetOrdering(quillet::AllClassesInMatrixOrder()); }
  ~PredefinedRangesTest() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  static fs::path NewDir() {
    auto dir = fs::temp_directory_path() /
               ("ferrox-rankings-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    return dir;
  }
  void Write(const std::string& bytes) { std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes; }
  std::string Read() const {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  QString Path() const { return QString::fromStdString(file_.string()); }
  // A fresh object's view of the file.
  std::wstring Reloaded() const {
    PredefinedRanges again(Path());
    EXPECT_TRUE(again.LoadPredefinedRanges()) << ToUtf8(again.ParseError());
    return Dump(again);
  }
  void Load(const std::string& bytes) {
    Write(bytes);
    ASSERT_TRUE(ranges_.LoadPredefinedRanges()) << ToUtf8(ranges_.ParseError());
  }
  const CRange* At(int category, const wchar_t* folder, const wchar_t* name) const {
    return ranges_.Find(category, folder, name);
  }

  fs::path dir_ = NewDir();
  fs::path file_ = dir_ / "Range6Plus.xml";
  OrderingRanges orderings_;
  RangeParser parser_{orderings_, quillet::kRulesStandard};
  PredefinedRanges ranges_{Path()};
};

// --- loading and the reading rules ---

TEST_F(PredefinedRangesTest, MissingFileIsCreatedWithTheDefaultContent) {
  ASSERT_TRUE(ranges_.LoadPredefinedRanges());
  EXPECT_EQ(Read(),
            "<?xml version=\"1.0\" encoding=\"windows-1251\" ?><Ranges><Equilab></Equilab><Corvane></Corvane>"
            "<User-defined-ranges></User-defined-ranges></Ranges>");
  EXPECT_TRUE(ranges_.FileError().empty());
  ASSERT_EQ(ranges_.Categories().size(), 2u);
  EXPECT_TRUE(ranges_.Categories().at(kEquilabCategory).ranges.empty());
  EXPECT_TRUE(ranges_.Categories().at(kUserDefinedCategory).ranges.empty());
  EXPECT_TRUE(ranges_.Folders().empty());
}

TEST_F(PredefinedRangesTest, AFileThatCannotBeCreatedIsReportedAndNothingLoads) {
  PredefinedRanges ranges(QString::fromStdString((dir_ / "no-such-folder" / "Range6Plus.xml").string()));
  EXPECT_FALSE(ranges.LoadPredefinedRanges());
  EXPECT_NE(ranges.FileError().find(L"could not be created"), std::wstring::npos);
  EXPECT_TRUE(ranges.Categories().empty());
  EXPECT_FALSE(ranges.AddFolder(L"F"));
}

TEST_F(PredefinedRangesTest, TypicalFileFillsBothTables) {
  Load(kFile);
  ASSERT_NE(At(0, L"Open", L"Loose"), nullptr);
  EXPECT_EQ(At(0, L"Open", L"Loose")->value, L"QQ+,AKs");
  EXPECT_DOUBLE_EQ(At(0, L"Open", L"Loose")->percent, 3.17);
  // "Corvane" does not switch: its rankings stay with the category before it.
  ASSERT_NE(At(0, L"Push", L"Short"), nullptr);
  EXPECT_EQ(At(2, L"Push", L"Short"), nullptr);
  ASSERT_NE(At(2, L"Mine", L"Any"), nullptr);
  EXPECT_EQ(At(2, L"Mine", L"Any")->name, L"Any");
  EXPECT_EQ(ranges_.FolderNames(), (std::vector<std::wstring>{L"Mine", L"Open", L"Push"}));
  const auto& open = ranges_.Folder(L"Open")->Texts();
  ASSERT_EQ(open.size(), 2u);
  EXPECT_EQ(open.at(1.90), L"AA,KK");
  EXPECT_EQ(open.at(3.17), L"QQ+,AKs");
}

TEST_F(PredefinedRangesTest, CategorySwitchesFollowTheDocumentOrder) {
  Load("<Ranges><User-defined-ranges><Folder>U</Folder><Range><RangeName>u</RangeName></Range>"
       "</User-defined-ranges><Corvane><Folder>C</Folder><Range><RangeName>c</RangeName></Range></Corvane>"
       "<Equilab><Folder>E</Folder><Range><RangeName>e</RangeName></Range></Equilab></Ranges>");
  EXPECT_NE(At(2, L"U", L"u"), nullptr);
  EXPECT_NE(At(2, L"C", L"c"), nullptr) << "Corvane after the user's rankings files them there";
  EXPECT_NE(At(0, L"E", L"e"), nullptr);
  EXPECT_EQ(At(0, L"C", L"c"), nullptr);
}

TEST_F(PredefinedRangesTest, ElementNamesIgnoreLetterCase) {
  Load("<ranges><USER-DEFINED-RANGES><folder>F</folder><range><rangename>r</rangename><VALUE>AA</VALUE>"
       "<percent>2</percent></range></USER-DEFINED-RANGES></ranges>");
  ASSERT_NE(At(2, L"F", L"r"), nullptr);
  EXPECT_EQ(At(2, L"F", L"r")->value, L"AA");
  EXPECT_EQ(ranges_.Folder(L"F")->Texts().at(2.0), L"AA");
}

TEST_F(PredefinedRangesTest, PercentBeforeValueStoresThePreviousValue) {
  Load("<Ranges><Equilab><Folder>F</Folder>"
       "<Range><RangeName>first</RangeName><Percent>1</Percent><Value>AA</Value></Range>"
       "<Range><RangeName>second</RangeName><Percent>2</Percent><Value>KK</Value></Range>"
       "</Equilab></Ranges>");
  const auto& texts = ranges_.Folder(L"F")->Texts();
  EXPECT_EQ(texts.at(1.0), L"");
  EXPECT_EQ(texts.at(2.0), L"AA");
  // The ranking itself still gets its own value and percent.
  EXPECT_EQ(At(0, L"F", L"second")->value, L"KK");
  EXPECT_DOUBLE_EQ(At(0, L"F", L"second")->percent, 2.0);
}

TEST_F(PredefinedRangesTest, TheSamePercentTwiceKeepsTheLater) {
  Load("<Ranges><Equilab><Folder>F</Folder>"
       "<Range><RangeName>a</RangeName><Value>AA</Value><Percent>5</Percent></Range>"
       "<Range><RangeName>b</RangeName><Value>KK</Value><Percent>5.00</Percent></Range>"
       "</Equilab></Ranges>");
  const auto& texts = ranges_.Folder(L"F")->Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts.at(5.0), L"KK");
}

TEST_F(PredefinedRangesTest, RankingsBeforeAnyFolderBelongToTheEmptyName) {
  Load("<Ranges><Equilab><Range><RangeName>lone</RangeName><Value>AA</Value><Percent>1</Percent></Range>"
       "</Equilab></Ranges>");
  EXPECT_NE(At(0, L"", L"lone"), nullptr);
  EXPECT_TRUE(ranges_.IsFolder(L""));
}

TEST_F(PredefinedRangesTest, PercentsReadTheirLeadingNumberOnly) {
  EXPECT_DOUBLE_EQ(LeadingNumber(L"12.5%"), 12.5);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"  -3x"), -3.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L".5"), 0.5);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"7e1 percent"), 70.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"7e"), 7.0);
  EXPECT_DOUBLE_EQ(LeadingNumber(L"4,5"), 4.0);
  EXPECT_EQ(LeadingNumber(L"abc"), 0.0);
  EXPECT_EQ(LeadingNumber(L""), 0.0);
  EXPECT_EQ(LeadingNumber(L"-"), 0.0);
  EXPECT_EQ(LeadingNumber(L"nan"), 0.0);
  EXPECT_EQ(LeadingNumber(L"1e999"), 0.0);
}

TEST_F(PredefinedRangesTest, Windows1251FilesReadTheirCyrillicLetters) {
  // "Пуш" and "Узкий" in windows-1251.
  Load("<?xml version=\"1.0\" encoding=\"windows-1251\" ?><Ranges><Equilab><Folder>\xCF\xF3\xF8</Folder>"
       "<Range><RangeName>\xD3\xE7\xEA\xE8\xE9</RangeName><Value>AA</Value><Percent>1</Percent></Range>"
       "</Equilab></Ranges>");
  EXPECT_TRUE(ranges_.IsFolder(L"\u041F\u0443\u0448"));
  EXPECT_NE(At(0, L"\u041F\u0443\u0448", L"\u0423\u0437\u043A\u0438\u0439"), nullptr);
}

TEST_F(PredefinedRangesTest, AFileThatDoesNotParseGivesNoDataAndTheParsersMessage) {
  const std::string broken = "<Ranges><Equilab><Folder>F</Folder></Ranges>";
  QDomDocument reference;
  QString message;
  ASSERT_FALSE(reference.setContent(QByteArray(broken.c_str()), &message));
  Write(broken);
  EXPECT_FALSE(ranges_.BuildRankingTables(parser_));
  EXPECT_NE(ranges_.ParseError().find(message.toStdWString()), std::wstring::npos);
  EXPECT_NE(ranges_.ParseError().find(L"line 1"), std::wstring::npos);
  EXPECT_TRUE(ranges_.Categories().empty());
  EXPECT_TRUE(ranges_.Folders().empty());
}

TEST_F(PredefinedRangesTest, DeepNestingAndHugeFilesAreRefused) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<a>";
  for (int i = 0; i < 5000; ++i) deep += "</a>";
  Write(deep);
  EXPECT_FALSE(ranges_.LoadPredefinedRanges());
  EXPECT_NE(ranges_.ParseError().find(L"nested"), std::wstring::npos);

  Write("<Ranges/>");
  fs::resize_file(file_, (16u << 20) + 1);
  EXPECT_FALSE(ranges_.LoadPredefinedRanges());
  EXPECT_NE(ranges_.ParseError().find(L"16 MB"), std::wstring::npos);
}

// --- building the tables ---

TEST_F(PredefinedRangesTest, BuildingParsesEveryFolderAndStartsAfresh) {
  Write(kFile);
  int announced = 0;
  QObject::connect(&ranges_, &PredefinedRanges::tablesChanged, [&] { ++announced; });
  ASSERT_TRUE(ranges_.BuildRankingTables(parser_));
  EXPECT_EQ(announced, 1);
  const auto* open = ranges_.Folder(L"Open");
  ASSERT_EQ(open->Specs().size(), 2u);
  EXPECT_EQ(open->Specs().at(1.90).combos(), SpecOf("AA KK").combos());
  EXPECT_TRUE(open->Interpolated());
  EXPECT_EQ(open->RangeAt(3.17).size(), 6u * 3 + 4);  // QQ+,AKs
  // A text the parser rejects is left out; its folder stays.
  EXPECT_TRUE(ranges_.Folder(L"Mine")->Specs().empty());
  EXPECT_EQ(ranges_.Folder(L"Mine")->Texts().size(), 1u);

  Write("<Ranges><Equilab><Folder>Other</Folder></Equilab></Ranges>");
  ASSERT_TRUE(ranges_.BuildRankingTables(parser_));
  EXPECT_EQ(ranges_.FolderNames(), std::vector<std::wstring>{L"Other"});
  EXPECT_TRUE(ranges_.Categories().at(0).ranges.empty());
}

// --- queries ---

TEST_F(PredefinedRangesTest, QueriesLookAcrossCategories) {
  Load("<Ranges><Equilab><Folder>F</Folder><Range><RangeName>b</RangeName><Value>AA</Value></Range>"
       "</Equilab><User-defined-ranges><Folder>F</Folder><Range><RangeName>a</RangeName><Value>KK</Value>"
       "</Range><Range><RangeName>b</RangeName><Value>QQ</Value></Range></User-defined-ranges></Ranges>");
  const auto list = ranges_.RankingsOf(L"F");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].range.name, L"a");
  EXPECT_EQ(list[1].category, 0);
  EXPECT_EQ(list[2].category, 2);
  EXPECT_TRUE(ranges_.RankingsOf(L"G").empty());

  EXPECT_EQ(ranges_.RangeText(2, L"F", L"b"), L"QQ");
  EXPECT_EQ(ranges_.RangeText(kUserFolderCategory, L"F", L"a"), L"KK") << "falls back to any category";
  EXPECT_EQ(ranges_.RangeText(0, L"F", L"a"), L"KK");
  EXPECT_FALSE(ranges_.RangeText(0, L"F", L"c").has_value());
  EXPECT_TRUE(ranges_.IsFolder(L"F"));
  EXPECT_FALSE(ranges_.IsFolder(L"b"));

}

// --- the pane's edits ---

TEST_F(PredefinedRangesTest, AddedFolderIsWrittenAndReadBack) {
  ASSERT_TRUE(ranges_.LoadPredefinedRanges());
  ASSERT_TRUE(ranges_.AddFolder(L"Blinds")) << ToUtf8(ranges_.LastError());
  EXPECT_TRUE(ranges_.IsFolder(L"Blinds"));
  EXPECT_NE(Read().find("<User-defined-ranges><Folder>Blinds</Folder></User-defined-ranges>"), std::string::npos);
  EXPECT_EQ(Reloaded(), Dump(ranges_));
}

TEST_F(PredefinedRangesTest, AddedRankingGoesIntoItsFolderWithTwoDecimals) {
  Load(kFile);
  ASSERT_TRUE(ranges_.AddRanking(L"Mine", L"Steal", L"AA,KK", 100.0 / 3, &parser_));
  EXPECT_NE(Read().find("<Folder>Mine<Range><RangeName>Any</RangeName><Value>nonsense!</Value><Percent>50"
                        "</Percent></Range><Range><RangeName>Steal</RangeName><Value>AA,KK</Value>"
                        "<Percent>33.33</Percent></Range></Folder>"),
            std::string::npos)
      << Read();
  ASSERT_NE(At(2, L"Mine", L"Steal"), nullptr);
  EXPECT_DOUBLE_EQ(At(2, L"Mine", L"Steal")->percent, 33.33);
  EXPECT_EQ(ranges_.Folder(L"Mine")->RangeAt(33.33).size(), 12u);
  EXPECT_EQ(Reloaded(), Dump(ranges_));

  ASSERT_TRUE(ranges_.AddRanking(L"Fresh", L"One", L"AA", 1.0));
  EXPECT_NE(Read().find("<Folder>Fresh<Range>"), std::string::npos);
  EXPECT_EQ(Reloaded(), Dump(ranges_));
}

TEST_F(PredefinedRangesTest, FolderNameWithABlankIsNeverFoundAgain) {
  ASSERT_TRUE(ranges_.LoadPredefinedRanges());
  ASSERT_TRUE(ranges_.AddRanking(L"Late Game", L"a", L"AA", 1));
  ASSERT_TRUE(ranges_.AddRanking(L"Late Game", L"b", L"KK", 2));
  const std::string text = Read();
  const auto first = text.find("<Folder>Late Game");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(text.find("<Folder>Late Game", first + 1), std::string::npos) << text;
  // Both still read as one folder of the table.
  EXPECT_EQ(ranges_.Folder(L"Late Game")->Texts().size(), 2u);
  EXPECT_EQ(Reloaded(), Dump(ranges_));
}

TEST_F(PredefinedRangesTest, RenamingChangesTheFirstMatchOnly) {
  Load(kFile);
  ASSERT_TRUE(ranges_.Rename(RankingElement::Folder, L"Mine", L"Ours"));
  EXPECT_FALSE(ranges_.IsFolder(L"Mine"));
  EXPECT_NE(At(2, L"Ours", L"Any"), nullptr) << "the rankings move with the folder";
  EXPECT_EQ(Reloaded(), Dump(ranges_));

  ASSERT_TRUE(ranges_.Rename(L"rangename", L"Tight", L"Nitty"));
  EXPECT_EQ(At(0, L"Open", L"Tight"), nullptr);
  EXPECT_EQ(At(0, L"Open", L"Nitty")->value, L"AA,KK");
  EXPECT_EQ(Reloaded(), Dump(ranges_));

  const std::string before = Read();
  EXPECT_FALSE(ranges_.Rename(RankingElement::RangeName, L"Nobody", L"X"));
  EXPECT_NE(ranges_.LastError().find(L"Nobody"), std::wstring::npos);
  EXPECT_FALSE(ranges_.Rename(L"Value", L"AA,KK", L"X"));
  EXPECT_FALSE(ranges_.Rename(RankingElement::Folder, L"Open", L"  "));
  EXPECT_EQ(Read(), before);
}

TEST_F(PredefinedRangesTest, ARankingOfTheSameNameInAnotherFolderIsLeftAlone) {
  Load("<Ranges><User-defined-ranges>"
       "<Folder>Open<Range><RangeName>UTG</RangeName><Value>AA</Value><Percent>0.95</Percent></Range></Folder>"
       "<Folder>Call</Folder><Range><RangeName>UTG</RangeName><Value>KK</Value><Percent>0.95</Percent></Range>"
       "</User-defined-ranges></Ranges>");
  ASSERT_TRUE(ranges_.RenameRanking(L"Call", L"UTG", L"vs UTG"));
  EXPECT_EQ(At(2, L"Open", L"UTG")->value, L"AA");
  EXPECT_EQ(At(2, L"Call", L"vs UTG")->value, L"KK");
  ASSERT_TRUE(ranges_.DeleteRanking(L"Open", L"UTG"));
  EXPECT_EQ(At(2, L"Open", L"UTG"), nullptr);
  EXPECT_NE(At(2, L"Call", L"vs UTG"), nullptr);
  EXPECT_EQ(Reloaded(), Dump(ranges_));
  EXPECT_FALSE(ranges_.DeleteRanking(L"Open", L"vs UTG"));
}

TEST_F(PredefinedRangesTest, DeletingARankingTakesItsRangeElement) {
  Load(kFile);
  ASSERT_TRUE(ranges_.Delete(RankingElement::RangeName, L"Loose"));
  EXPECT_EQ(Read().find("QQ+,AKs"), std::string::npos);
  EXPECT_EQ(At(0, L"Open", L"Loose"), nullptr);
  EXPECT_EQ(ranges_.Folder(L"Open")->Texts().count(3.17), 0u);
  EXPECT_EQ(Reloaded(), Dump(ranges_));

  ASSERT_TRUE(ranges_.Delete(L"Folder", L"Mine"));
  EXPECT_FALSE(ranges_.IsFolder(L"Mine"));
  EXPECT_EQ(At(2, L"Mine", L"Any"), nullptr);
  EXPECT_EQ(Reloaded(), Dump(ranges_));
  EXPECT_FALSE(ranges_.Delete(RankingElement::Folder, L"Mine"));
}

TEST_F(PredefinedRangesTest, DeletingAFolderTakesTheRankingsListedAfterIt) {
  Load("<Ranges><Equilab><Folder>A</Folder>"
       "<Range><RangeName>a1</RangeName><Value>AA</Value><Percent>0.95</Percent></Range>"
       "<Folder>B</Folder>"
       "<Range><RangeName>b1</RangeName><Value>KK</Value><Percent>0.95</Percent></Range>"
       "<RangeName>b2</RangeName><Value>QQ</Value><Percent>1.5</Percent>"
       "<Folder>C</Folder>"
       "<Range><RangeName>c1</RangeName><Value>JJ</Value><Percent>0.95</Percent></Range>"
       "</Equilab></Ranges>");
  ASSERT_TRUE(ranges_.Delete(RankingElement::Folder, L"B"));
  EXPECT_EQ(ranges_.FolderNames(), (std::vector<std::wstring>{L"A", L"C"}));
  // Neither of B's rankings fell to A; C keeps its own.
  ASSERT_EQ(ranges_.RankingsOf(L"A").size(), 1u);
  ASSERT_EQ(ranges_.RankingsOf(L"C").size(), 1u);
  EXPECT_EQ(Read().find("KK"), std::string::npos);
  EXPECT_EQ(Read().find("QQ"), std::string::npos);
  EXPECT_EQ(Reloaded(), Dump(ranges_));
}

TEST_F(PredefinedRangesTest, DeletingWhatStoodBetweenTwoTextsKeepsThemApart) {
  // Text after a "Folder" element names a folder too; deleting the folder between two such
  // texts must not write them as one.
  Load("<R><Folder>x</Folder>b<Folder>y</Folder>s</R>");
  ASSERT_EQ(ranges_.FolderNames(), (std::vector<std::wstring>{L"b", L"s", L"x", L"y"}));
  ASSERT_TRUE(ranges_.Delete(RankingElement::Folder, L"y")) << ToUtf8(ranges_.LastError());
  EXPECT_EQ(ranges_.FolderNames(), (std::vector<std::wstring>{L"b", L"s", L"x"}));
  EXPECT_EQ(Reloaded(), Dump(ranges_));
  // And a ranking between two such texts.
  Write("<R><Folder>x</Folder>b<Range><RangeName>r</RangeName></Range>s</R>");
  ASSERT_TRUE(ranges_.BuildRankingTables(parser_));
  ASSERT_TRUE(ranges_.DeleteRanking(L"b", L"r")) << ToUtf8(ranges_.LastError());
  EXPECT_EQ(Reloaded(), Dump(ranges_));
}

TEST_F(PredefinedRangesTest, AnUnparseableFileIsNeverOverwritten) {
  const std::string broken = "<Ranges><Folder>x</Ranges>";
  QDomDocument reference;
  QString message;
  ASSERT_FALSE(reference.setContent(QByteArray(broken.c_str()), &message));
  Write(broken);
  ASSERT_FALSE(ranges_.LoadPredefinedRanges());
  EXPECT_FALSE(ranges_.AddFolder(L"F"));
  EXPECT_NE(ranges_.LastError().find(message.toStdWString()), std::wstring::npos);
  EXPECT_FALSE(ranges_.AddRanking(L"F", L"r", L"AA", 1));
  EXPECT_FALSE(ranges_.Rename(RankingElement::Folder, L"x", L"y"));
  EXPECT_FALSE(ranges_.Delete(RankingElement::Folder, L"x"));
  EXPECT_EQ(ranges_.LastError(), ranges_.ParseError());
  EXPECT_EQ(Read(), broken);
}

TEST_F(PredefinedRangesTest, ReservedCharactersAndCyrillicSurvive) {
  ASSERT_TRUE(ranges_.LoadPredefinedRanges());
  const std::wstring folder = L"R&D <\"test\"> '\u041F\u0440\u0438\u0432\u0435\u0442'";
  const std::wstring name = L"a&b<c>\"d\" \u0416\r\nend";
  const std::wstring value = L"AA, KK <& \u20AC";
  ASSERT_TRUE(ranges_.AddRanking(folder, name, value, 12.5));
  PredefinedRanges again(Path());
  ASSERT_TRUE(again.LoadPredefinedRanges());
  ASSERT_NE(again.Find(2, folder, name), nullptr) << Read();
  EXPECT_EQ(again.Find(2, folder, name)->value, value);
  EXPECT_EQ(Dump(again), Dump(ranges_));
  EXPECT_NE(Read().find("encoding=\"UTF-8\""), std::string::npos) << "the text is written as UTF-8";

  ASSERT_TRUE(again.Rename(RankingElement::RangeName, name, L"\u0416\u0416 & <>"));
  PredefinedRanges third(Path());
  ASSERT_TRUE(third.LoadPredefinedRanges());
  EXPECT_NE(third.Find(2, folder, L"\u0416\u0416 & <>"), nullptr);
}

TEST_F(PredefinedRangesTest, WhatLooksLikeAnOldDeclarationStillReadsBackAfterAnEdit) {
  // A processing instruction, not a declaration: the text is UTF-8.
  Load("<?xmlish version=\"1.0\" encoding=\"windows-1251\"?><Ranges><Equilab><Folder>\xD0\x96</Folder>"
       "</Equilab></Ranges>");
  EXPECT_TRUE(ranges_.IsFolder(L"\u0416"));
  ASSERT_TRUE(ranges_.AddFolder(L"\u0416\u0416"));
  EXPECT_EQ(Reloaded(), Dump(ranges_));
}

TEST_F(PredefinedRangesTest, AFileThatWouldNotLoadAgainIsNotWritten) {
  // Qt takes a control character in an instruction at the very start only; a declaration
  // put before it would make the written file unreadable.
  const std::string odd = "<?xmlx\x18y?><Ranges><User-defined-ranges/></Ranges>";
  Load(odd);
  EXPECT_FALSE(ranges_.AddFolder(L"F"));
  EXPECT_NE(ranges_.LastError().find(L"would not load"), std::wstring::npos) << ToUtf8(ranges_.LastError());
  EXPECT_EQ(Read(), odd);
  EXPECT_FALSE(ranges_.IsFolder(L"F"));
}

TEST_F(PredefinedRangesTest, TextsTheFileCannotKeepAreRefused) {
  ASSERT_TRUE(ranges_.LoadPredefinedRanges());
  const std::string before = Read();
  EXPECT_FALSE(ranges_.AddFolder(L""));
  EXPECT_FALSE(ranges_.AddFolder(L"bell\x07"));
  EXPECT_FALSE(ranges_.AddRanking(L"F", L"r", L" \t", 1));
  EXPECT_FALSE(ranges_.AddRanking(L"F", L"r", L"AA", std::nan("")));
  EXPECT_FALSE(ranges_.LastError().empty());
  EXPECT_EQ(Read(), before);
}

TEST_F(PredefinedRangesTest, AFailedWriteLeavesDocumentAndTablesAsBefore) {
  Load(kFile);
  const std::wstring tables = Dump(ranges_);
  const QString document = ranges_.Document().toString(-1);
  fs::remove_all(dir_);
  EXPECT_FALSE(ranges_.AddFolder(L"Gone"));
  EXPECT_NE(ranges_.LastError().find(L"could not be written"), std::wstring::npos);
  EXPECT_EQ(Dump(ranges_), tables);
  EXPECT_EQ(ranges_.Document().toString(-1), document);
}

}  // namespace
}  // namespace ferrox::testing
