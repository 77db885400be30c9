// The files a player keeps, as the assembled program treats them: an edit of a library he
// may not write is refused with a message; no write of the program goes through a link
// planted at a name it writes, save the libraries, which are edited where a link leads and
// logged so; temporary files that writes cut short left are cleared at start and logged.
#include <QMdiArea>
#include <QtTest>

#include "views/CommandIds.h"
#include "app/MainFrame.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/FileTestSupport.h"
#include "model/RankingsModel.h"
#include "views/ClassView.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"

namespace ferrox::testing {

namespace fs = std::filesystem;
using namespace cmd;

namespace {

constexpr char kRankings[] = "<Ranges><User-defined-ranges><Folder>Mine</Folder></User-defined-ranges></Ranges>";

// How often text stands in the log.
int LogCount(const QTemporaryDir& home, const std::string& text) {
  const std::string log = ReadText(HomeOf(home) / "Ferrox6Plus.log");
  int count = 0;
  for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
  return count;
}

// "Insert new folder after" the library's first folder, named "New", in "Create mode".
void InsertFolderInRangePane(CMainFrame& frame) {
  frame.Action(ID_MODE_CREATE)->trigger();
  auto* view = frame.findChild<CRangeView*>();
  view->promptName = [](const QString&) { return std::optional<QString>("New"); };
  const QAbstractItemModel* model = view->Tree()->model();
  view->Tree()->setCurrentIndex(model->index(0, 0, model->index(0, 0)));
  QVERIFY(view->IsCommandEnabled(cmd::ID_INSERT_FOLDER_AFTER));
  view->RunCommand(cmd::ID_INSERT_FOLDER_AFTER);
}

}  // namespace

class FileKeepingTest : public QObject {
  Q_OBJECT

 private slots:
  void aReadOnlyLibraryRefusesAnEditWithAMessage() {
    QTemporaryDir home;
    const fs::path file = HomeOf(home) / "UserRanges.xml";
    WriteText(file, kSmallLibrary);
    QCOMPARE(::chmod(file.c_str(), 0444), 0);
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    const QAbstractItemModel* tree = app->MainFrame()->findChild<CRangeView*>()->Tree()->model();
    QCOMPARE(tree->rowCount(tree->index(0, 0)), 1);
    QString told;
    AnswerNextMessageBox(&told);
    InsertFolderInRangePane(*app->MainFrame());
    QVERIFY2(told.contains("read-only"), qPrintable(told));
    QVERIFY2(told.contains(QString::fromStdString(file.string())), qPrintable(told));
    QCOMPARE(tree->rowCount(tree->index(0, 0)), 1);
    QCOMPARE(ReadText(file), std::string(kSmallLibrary));
    app->ExitInstance();
  }

  void noWriteGoesThroughALinkPlantedAtAName() {
    QTemporaryDir home, elsewhere;
    const std::map<std::string, std::string> victims{
        {"tv.dat", "version file's\n"}, {"Ferrox6Plus.log", "log's\n"}, {"Ferrox6Plus.conf", "[General]\nRuns=41\n"}};
    for (const auto& [name, text] : victims) {
      WriteText(HomeOf(elsewhere) / name, text);
      fs::create_symlink(HomeOf(elsewhere) / name, HomeOf(home) / name);
    }
    // No INI file: the splash is on, and the version file is written.
    auto app = StartApp(HomeOf(home), false);
    QVERIFY(app);
    QVERIFY(app->launcherUsed);
    app->MainFrame()->close();
    app->ExitInstance();
    app.reset();
    for (const auto& [name, text] : victims) QCOMPARE(ReadText(HomeOf(elsewhere) / name), text);
    QVERIFY(!fs::is_symlink(HomeOf(home) / "tv.dat"));
    QVERIFY(ReadText(HomeOf(home) / "tv.dat").starts_with("v4.11\n"));
    QVERIFY(!fs::is_symlink(HomeOf(home) / "Ferrox6Plus.log"));
    QVERIFY(ReadText(HomeOf(home) / "Ferrox6Plus.log").find("Version number: v4.11") != std::string::npos);
    // The settings start afresh; the link is kept aside, as it was.
    QVERIFY(fs::is_symlink(HomeOf(home) / "Ferrox6Plus.conf.unreadable"));
    QVERIFY(!fs::is_symlink(HomeOf(home) / "Ferrox6Plus.conf"));
  }

  void aLinkedLibraryIsEditedWhereItLiesAndTheLogSaysSoOnce() {
    QTemporaryDir home, elsewhere;
    const fs::path mine = HomeOf(elsewhere) / "Mine.xml";
    const fs::path ranks = HomeOf(elsewhere) / "Ranks.xml";
    WriteText(mine, kSmallLibrary);
    WriteText(ranks, kRankings);
    fs::create_symlink(mine, HomeOf(home) / "UserRanges.xml");
    fs::create_symlink(ranks, HomeOf(home) / "Range6Plus.xml");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    InsertFolderInRangePane(*frame);
    auto* rankings = frame->findChild<CClassView*>();
    rankings->promptName = [](const QString&) { return std::optional<QString>("Fresh"); };
    rankings->Tree()->setCurrentIndex(rankings->Model()->UserIndex());
    rankings->RunCommand(cmd::ID_CREATE_FOLDER);
    // Back and forth between the modes reads the rankings again.
    frame->Action(ID_MODE_USE)->trigger();
    frame->Action(ID_MODE_CREATE)->trigger();

    QVERIFY(fs::is_symlink(HomeOf(home) / "UserRanges.xml"));
    QVERIFY(fs::is_symlink(HomeOf(home) / "Range6Plus.xml"));
    QVERIFY(ReadText(mine).find("=\"New\"") != std::string::npos);
    QVERIFY(ReadText(ranks).find("<Folder>Fresh</Folder>") != std::string::npos);
    for (const char* name : {"UserRanges.xml", "Range6Plus.xml"}) {
      const std::string line = (HomeOf(home) / name).string() + " is a link: edits are written to ";
      QCOMPARE(LogCount(home, line), 1);
    }
    QCOMPARE(LogCount(home, "edits are written to " + mine.string() + "\n"), 1);
    QCOMPARE(LogCount(home, "edits are written to " + ranks.string() + "\n"), 1);
    frame->Documents()->closeAllSubWindows();
    app->ExitInstance();
  }

  void temporaryFilesOfWritesCutShortAreClearedAtStartAndLogged() {
    QTemporaryDir home, elsewhere;
    const fs::path real = HomeOf(elsewhere) / "Mine.xml";
    WriteText(real, kSmallLibrary);
    fs::create_symlink(real, HomeOf(home) / "UserRanges.xml");
    const std::vector<fs::path> stale{
        HomeOf(home) / "UserRanges.xml.tmp-0123456789ab", HomeOf(elsewhere) / "Mine.xml.tmp-0123456789ab",
        HomeOf(home) / "Range6Plus.xml.tmp-abcdefghijkl", HomeOf(home) / "tv.dat.tmp-zyxwvutsrqpo",
        HomeOf(home) / "Ferrox6Plus.log.tmp-aaaaaaaaaaaa"};
    const std::vector<fs::path> kept{HomeOf(home) / "UserRanges.xml.tmp-youngyoung12",
                                     HomeOf(home) / "Notes.txt.tmp-0123456789ab",
                                     HomeOf(home) / "UserRanges.xml.tmp-linklinklink"};
    for (const auto& file : stale) WriteText(file, "<User-defined-ran");
    WriteText(kept[0], "<User-defined-ran");
    WriteText(kept[1], "notes");
    fs::create_symlink(real, kept[2]);
    for (const auto& file : {stale[0], stale[1], stale[2], stale[3], stale[4], kept[1], kept[2]}) MakeOld(file);

    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    app->ExitInstance();
    for (const auto& file : stale) {
      QVERIFY2(!fs::exists(fs::symlink_status(file)), file.c_str());
      QCOMPARE(LogCount(home, "Removed " + file.string() + ", left behind by a write that was cut short"), 1);
    }
    for (const auto& file : kept) {
      QVERIFY2(fs::exists(fs::symlink_status(file)), file.c_str());
      QCOMPARE(LogCount(home, "Removed " + file.string()), 0);
    }
    QCOMPARE(ReadText(real), std::string(kSmallLibrary));
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::FileKeepingTest)
#include "FileKeepingTest.moc"
