#include <QAction>
#include <QDockWidget>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>
#include <sys/stat.h>

#include <fstream>
#include <functional>

#include "app/AboutDialog.h"
#include "app/CaptionBar.h"
#include "views/CommandIds.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/TimedMessage.h"
#include "model/DocumentLinks.h"
#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PredefinedRanges.h"
#include "model/RankingsModel.h"
#include "model/UserLibrary.h"
#include "quillet/Files.h"
#include "views/FerroxView.h"
#include "views/HandSpectr.h"
#include "views/ChartView.h"
#include "views/ClassView.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"
#include "model/ChartDoc.h"
#include "views/HandsView.h"
#include "views/HeatmapView.h"
#include "widgets/ColourButton.h"
#include "widgets/GridCtrl.h"
#include "tests/views/ViewsTestSupport.h"
#include "views/RangeEdit.h"
#include "quillet/HandClass.h"
#include "tests/app/AppTestSupport.h"

namespace ferrox::testing {

using namespace cmd;

QStringList OutputLines(const CMainFrame& frame) {
  QStringList lines;
  const QListWidget* build = frame.Output()->BuildList();
  for (int row = 0; row < build->count(); ++row) lines << build->item(row)->text();
  return lines;
}

class FerroxAppTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpWritesTheLogAndTitle() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    QCOMPARE(frame->windowTitle(), QString("Ferrox6Plus  v4.11"));
    QVERIFY(frame->Caption()->isHidden());
    QVERIFY(!frame->Action(ID_VIEW_CAPTION_BAR)->isChecked());
    const std::string log = ReadText(HomeOf(home) / "Ferrox6Plus.log");
    QVERIFY(log.find("\n" + std::string(59, '-') + "\n") == 0);
    QVERIFY(log.find("Creation date:  03.08.2021\nVersion number: v4.11\n") != std::string::npos);
    QVERIFY(log.find("  CPU completed <load_fsm> in ") != std::string::npos);
    QVERIFY(log.find(" ms.\n\n") != std::string::npos);  // texts ending in a new line
    QVERIFY(log.find("  Ferrox6Plus  v4.11\n") != std::string::npos);
    QVERIFY(log.find("CPU completed <InitInstance>") != std::string::npos);
    app->ExitInstance();
  }

  void theLauncherFlagDecidesTheHandOver() {
    QTemporaryDir off, missing, unreadable;
    auto app = StartApp(HomeOf(off));
    QVERIFY(app);
    QVERIFY(!app->launcherUsed);
    QVERIFY(!std::filesystem::exists(HomeOf(off) / "tv.dat"));
    app->ExitInstance();

    app = StartApp(HomeOf(missing), false);  // no INI file: the launcher is used
    QVERIFY(app);
    QVERIFY(app->launcherUsed);
    const std::string version = ReadText(HomeOf(missing) / "tv.dat");
    QVERIFY(version.rfind("v4.11\n03.08.2021\n ", 0) == 0);
    QVERIFY(version.find(" 4 11 430 0\n") != std::string::npos);
    app->ExitInstance();

    std::filesystem::create_directory(HomeOf(unreadable) / "Ferrox6Plus.ini");  // counts as missing
    app = StartApp(HomeOf(unreadable), false);
    QVERIFY(app);
    QVERIFY(app->launcherUsed);
    app->ExitInstance();
  }

  void theFirstStartImportsTheRegFile() {
    QTemporaryDir home;
    WriteText(HomeOf(home) / "Ferrox6Plus.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Halvard\\Ferrox6Plus\\Settings]\r\n\"Gametype\"=dword:00000001\r\n");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    QCOMPARE(app->settings().rules, quillet::kRulesStraightBeatsSet);
    QCOMPARE(app->settings().Store().value("General/Runs").toInt(), 1);
    app->settings().rules = quillet::kRulesStandard;
    app->MainFrame()->close();  // writes the settings
    app->ExitInstance();
    app = StartApp(HomeOf(home));
    QCOMPARE(app->settings().rules, quillet::kRulesStandard);  // the .reg file is used once only
    QCOMPARE(app->settings().Store().value("General/Runs").toInt(), 2);
    app->ExitInstance();
  }

  void paneTogglesFollowThePanes() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    for (int id : {ID_VIEW_CARDSVIEW, ID_VIEW_FILEVIEW, ID_VIEW_EVALUATIONVIEW, ID_VIEW_RANGEVIEW, ID_HEATMAP_VIEW}) {
      QDockWidget* pane = frame->Pane(id);
      QVERIFY(pane);
      QVERIFY(frame->Action(id)->isChecked());
      frame->Action(id)->trigger();
      QVERIFY(pane->isHidden());
      QVERIFY(!frame->Action(id)->isChecked());
      frame->Action(id)->trigger();
      QVERIFY(!pane->isHidden());
      QVERIFY(frame->Action(id)->isChecked());
    }
    // Output and Tree start hidden.
    QVERIFY(frame->Pane(ID_VIEW_OUTPUTWND)->isHidden());
    QVERIFY(!frame->Action(ID_VIEW_OUTPUTWND)->isChecked());
    QVERIFY(frame->Pane(ID_VIEW_CLASSVIEW)->isHidden());
    frame->Action(ID_VIEW_OUTPUTWND)->trigger();
    QVERIFY(!frame->Pane(ID_VIEW_OUTPUTWND)->isHidden());
    frame->Action(ID_VIEW_STATUS_BAR)->trigger();
    QVERIFY(frame->statusBar()->isHidden());
    frame->Action(ID_VIEW_CAPTION_BAR)->trigger();
    QVERIFY(!frame->Caption()->isHidden());
    QCOMPARE(frame->Pane(ID_VIEW_FILEVIEW)->windowTitle(), QString("Hands"));
    app->ExitInstance();
  }

  void gameTypeAndHotnessFlip() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    QVERIFY(frame->Action(ID_CHECK_6)->isChecked());
    frame->Action(ID_CHECK_6)->trigger();  // clicking the checked "6+" switches the rules
    QCOMPARE(app->settings().rules, quillet::kRulesStraightBeatsSet);
    QVERIFY(frame->Action(ID_CHECK_CHINA)->isChecked());
    QVERIFY(!frame->Action(ID_CHECK_6)->isChecked());
    QCOMPARE(app->Rules(), quillet::kRulesStraightBeatsSet);
    frame->Action(ID_CHECK_CHINA)->trigger();
    QCOMPARE(app->settings().rules, quillet::kRulesStandard);
    frame->Action(ID_HOTNESS_CALC)->trigger();
    QCOMPARE(app->settings().hotnessCalc, 1);
    QVERIFY(frame->Action(ID_HOTNESS_CALC)->isChecked());
    frame->close();
    app->ExitInstance();
    app = StartApp(HomeOf(home));
    QCOMPARE(app->settings().hotnessCalc, 1);  // written when the window closed
    app->ExitInstance();
  }

  void aHeatmapColourChosenReachesThePaneAndIsKept() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    frame->ColourButtonOf(ID_VIEW_COLORSPACE100)->setColour(QColor(0, 255, 0));
    frame->Action(ID_VIEW_COLORSPACE100)->trigger();
    QCOMPARE(app->Panes().HeatmapColour(true), 0x00FF00);
    frame->ColourButtonOf(ID_BACKGROUND_COLOR)->setColour(QColor(1, 2, 3));
    frame->Action(ID_BACKGROUND_COLOR)->trigger();
    QCOMPARE(app->Panes().Background(), 0x030201);
    app->ExitInstance();
    app = StartApp(HomeOf(home));
    QCOMPARE(app->Panes().HeatmapColour(true), 0x00FF00);
    app->ExitInstance();
  }

  void looksChangeThePaletteAndPersist() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    QVERIFY(frame->Action(219)->isChecked());
    frame->Action(216)->trigger();
    QCOMPARE(app->settings().applicationLook, 216);
    QVERIFY(frame->Action(216)->isChecked());
    QVERIFY(!frame->Action(219)->isChecked());
    QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 100);
    QVERIFY(QApplication::palette().color(QPalette::WindowText).lightness() > 180);
    frame->OnApplicationLook(213);  // Office 2007 in its current colour style
    QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 100);
    frame->Action(217)->trigger();
    const QColor silver = QApplication::palette().color(QPalette::Window);
    frame->Action(219)->trigger();
    QVERIFY(QApplication::palette().color(QPalette::Window) != silver);
    app->ExitInstance();
    app = StartApp(HomeOf(home));
    QCOMPARE(app->settings().applicationLook, 219);
    app->ExitInstance();
  }

  void anOrderingFileChosenElsewhereIsKeptByName() {
    QTemporaryDir home, elsewhere;
    std::string ordering;
    auto classes = quillet::AllClassesInMatrixOrder();
    std::reverse(classes.begin(), classes.end());  // 66 first
    for (const auto& hc : classes) {
      const std::wstring label = quillet::ClassLabel(hc);
      ordering += std::string(label.begin(), label.end()) + "\n";
    }
    const auto chosen = HomeOf(elsewhere) / "MyOrdering.txt";
    WriteText(chosen, ordering);
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    QCOMPARE(frame->Action(ID_BUTTON_FILE_SIXPLUS)->text(), QString("SixPlusVsRandom"));
    QCOMPARE(frame->Action(ID_BUTTON_FILE_CHINA)->text(), QString("SixPlus6maxordering"));
    QString startedFrom;
    frame->chooseOrderingFile = [&](const QString& start) {
      startedFrom = start;
      return QString::fromStdString(chosen.string());
    };
    frame->Action(ID_BUTTON_FILE_SIXPLUS)->trigger();
    QCOMPARE(startedFrom, QString("SixPlusVsRandom.txt"));
    QCOMPARE(app->settings().fileSixPlus, QString("MyOrdering.txt"));
    QCOMPARE(app->settings().Store().value("Game/FileSixPlus").toString(), QString("MyOrdering.txt"));
    QCOMPARE(frame->Action(ID_BUTTON_FILE_SIXPLUS)->text(), QString("MyOrdering"));
    quillet::Spec top;
    app->ParseRange(L"0.5%", top);
    QCOMPARE(int(top.size()), 6);
    QVERIFY(top.contains(quillet::GetCardByName(L"6s"), quillet::GetCardByName(L"6h")));

    frame->chooseOrderingFile = [](const QString&) { return QString(); };  // Cancel
    frame->Action(ID_BUTTON_FILE_SIXPLUS)->trigger();
    QCOMPARE(frame->Action(ID_BUTTON_FILE_SIXPLUS)->text(), QString("MyOrdering"));
    app->ExitInstance();

    // The next start finds the file by its name alone.
    std::filesystem::remove(chosen);
    app = StartApp(HomeOf(home));
    app->ParseRange(L"0.5%", top);
    QVERIFY(top.contains(quillet::GetCardByName(L"6s"), quillet::GetCardByName(L"6h")));
    app->ExitInstance();
  }

  void anUnreadableOrderingFileChangesNothing() {
    QTemporaryDir home, elsewhere;
    const auto bad = HomeOf(elsewhere) / "Broken.txt";
    WriteText(bad, "AA\nKK\n");
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    frame->chooseOrderingFile = [&](const QString&) { return QString::fromStdString(bad.string()); };
    QString message;
    AnswerNextMessageBox(&message);
    frame->Action(ID_BUTTON_FILE_CHINA)->trigger();
    QVERIFY(message.contains("Broken.txt"));
    QCOMPARE(app->settings().fileStraightBeatsSet, QString("SixPlus6maxordering.txt"));
    QCOMPARE(frame->Action(ID_BUTTON_FILE_CHINA)->text(), QString("SixPlus6maxordering"));
    app->ExitInstance();
  }

  void outputLinesTimedMessagesAndAbout() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    QListWidget* build = frame->Output()->BuildList();
    QCOMPARE(build->count(), 0);
    QCOMPARE(frame->Output()->List(1)->count(), 3);
    QCOMPARE(frame->Output()->List(2)->item(0)->text(), QString("Find output is being displayed here."));
    frame->AppendOutputLine("201376 river games time = 0.001 sec. River equity = 54.08%\n");
    frame->AppendOutputLine("second line");
    QCOMPARE(build->count(), 2);
    QCOMPARE(build->item(0)->text(), QString("201376 river games time = 0.001 sec. River equity = 54.08%"));
    QCOMPARE(build->currentRow(), 1);

    QCOMPARE(frame->ShowTimedMessage(nullptr, "Please reenter card ranges!", "Wrong ranges",
                                     kMbOk | kMbIconInformation, 0, 100),
             kTimedOut);
    AnswerNextMessageBox(nullptr);
    QCOMPARE(frame->ShowTimedMessage(nullptr, "text", "caption", kMbOk, 0, 20000), kIdOk);

    {
      AboutDialog about(frame->windowTitle(), frame);
      QCOMPARE(about.TitleText(), QString("Ferrox6Plus  v4.11"));
    }
    app->ExitInstance();
  }

  void modeSwitchesCloseDocumentsAndRelabelTheButton() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    QCOMPARE(frame->Action(ID_MODE)->text(), QString("Use    mode"));
    frame->Documents()->addSubWindow(new QWidget)->show();
    frame->Action(ID_MODE_CREATE)->trigger();
    QCOMPARE(app->mode, 0);
    QCOMPARE(frame->Action(ID_MODE)->text(), QString("Create mode"));
    QVERIFY(frame->Documents()->subWindowList().isEmpty());
    frame->Action(ID_MODE_USE)->trigger();
    QCOMPARE(app->mode, 1);
    QCOMPARE(frame->Action(ID_MODE)->text(), QString("Use    mode"));
    QVERIFY(!frame->Action(ID_CHART_RUN)->isEnabled());  // no chart window yet
    QVERIFY(frame->Action(ID_HEATMAP_SAVE)->isEnabled());
    app->ExitInstance();
  }

  void garbageSettingsStartWithDefaults() {
    QTemporaryDir home;
    WriteText(HomeOf(home) / "Ferrox6Plus.conf",
              "[Settings]\nGametype=seven\nRuns=-5\nBkColor=\"\"\n[Workspace]\nState=garbage\nGeometry=@ByteArray(xyz)\n"
              "ApplicationLook=12345\n[Game]\nFileSixPlus=NoSuchFile.txt\n");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    QCOMPARE(app->settings().rules, quillet::kRulesStandard);
    QCOMPARE(app->settings().runs, 10000);
    QCOMPARE(app->settings().background.Effective(), 0xFFF9F3);
    QCOMPARE(app->settings().applicationLook, 219);
    QVERIFY(!app->MainFrame()->Pane(ID_VIEW_FILEVIEW)->isHidden());
    // A missing ordering file leaves that ordering empty: percent ranges are refused.
    quillet::Spec top;
    QCOMPARE(app->ParseRange(L"20%", top), 0);
    QVERIFY(top.empty());
    QCOMPARE(app->MainFrame()->Action(ID_BUTTON_FILE_SIXPLUS)->text(), QString("NoSuchFile"));
    app->ExitInstance();
  }

  void aFifoForSettingsOrLogDoesNotHoldUpTheStart() {
    QTemporaryDir home;
    const auto conf = HomeOf(home) / "Ferrox6Plus.conf";
    QCOMPARE(::mkfifo(conf.c_str(), 0600), 0);
    QCOMPARE(::mkfifo((HomeOf(home) / "Ferrox6Plus.log").c_str(), 0600), 0);
    auto app = StartApp(HomeOf(home));  // would wait for ever for a writer
    QVERIFY(app);
    QCOMPARE(app->settings().runs, 10000);
    app->MainFrame()->close();
    app->ExitInstance();
    QVERIFY(std::filesystem::is_fifo(HomeOf(home) / "Ferrox6Plus.conf.unreadable"));
    QVERIFY2(std::filesystem::is_regular_file(conf), "the settings were written anew");
  }

  // A system package: programs in <prefix>/bin, data read-only in <prefix>/share/ferrox6plus.
  // Even where the program's folder may be written (root), the working files go to the
  // user's folder, and the libraries come from the data folder.
  void aSystemInstallationKeepsItsWorkingFilesInTheUsersFolder() {
    QTemporaryDir prefix, userData;
    const auto bin = HomeOf(prefix) / "bin";
    const auto data = HomeOf(prefix) / "share" / "ferrox6plus";
    std::filesystem::create_directories(bin);
    QCOMPARE(quillet::DataDirFor(bin), bin);  // no data folder yet: the one-folder layout
    std::filesystem::create_directories(data);
    QCOMPARE(quillet::DataDirFor(bin), data);
    QCOMPARE(quillet::DataDirFor(HomeOf(prefix)), HomeOf(prefix));  // not a bin folder
    const std::string shipped = "<?xml version=\"1.0\"?><RangeLibrary/>\n";
    std::ofstream(data / kUserLibraryFileName) << shipped;

    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", userData.path().toUtf8());
    const AppFolders folders = AppFolders::ForInstallation(bin, data);
    qputenv("XDG_DATA_HOME", oldDataHome);

    QVERIFY(folders.workDir.string().starts_with(HomeOf(userData).string()));
    QCOMPARE(folders.ProgramIniFile(), data / "Ferrox6Plus.ini");
    QCOMPARE(folders.OrderingFile("SixPlusVsRandom.txt"), data / "SixPlusVsRandom.txt");
    const auto library = folders.LibraryFile(kUserLibraryFileName);
    QCOMPARE(library, folders.workDir / kUserLibraryFileName);
    QCOMPARE(quillet::ReadRegularFile(library, 1 << 20).value_or(""), shipped);

    // The one-folder layout, writable: everything stays beside the program, as in the build.
    const AppFolders oneFolder = AppFolders::ForInstallation(HomeOf(prefix), HomeOf(prefix));
    QCOMPARE(oneFolder.workDir, HomeOf(prefix));
    QCOMPARE(oneFolder.LibraryFile(kUserLibraryFileName), HomeOf(prefix) / kUserLibraryFileName);
  }

  void theSettingsFileIsWhereTheStoreKeepsIt() {
    const AppFolders folders{quillet::GetExecDir(), {}, {}, {}, {}};
    QCOMPARE(QString::fromStdString(folders.SettingsFile().string()), QSettings("Halvard", "Ferrox6Plus").fileName());
  }

  void applyingAHandsRowOpensItsRangeEditorAndClearAllEmptiesIt() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    CHandsView* hands = frame->HandsView();
    QVERIFY(hands);
    hands->showMessage = [](const QString& text) { QFAIL(qPrintable(text)); };
    QTest::keyClicks(hands->RangeBox(0), "AA, KK, AKs");
    QTest::mouseClick(hands->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(0))), Qt::LeftButton);
    QCOMPARE(frame->Documents()->subWindowList().size(), 1);
    auto* editor = frame->Documents()->subWindowList().front()->findChild<CFerroxView*>();
    QVERIFY(editor);
    QCOMPARE(editor->findChild<QLineEdit*>("1284")->text(), QString("16/630"));
    QCOMPARE(editor->findChild<QLineEdit*>("1285")->text(), QString("2.54%"));
    QVERIFY(frame->Output()->BuildList()->count() >= 4);  // the suit lines
    // A right click on the matrix picks a class; elsewhere on the form it opens the edit menu.
    auto* matrix = editor->findChild<CHandSpectr*>();
    QContextMenuEvent onMatrix(QContextMenuEvent::Mouse, QPoint(5, 5), matrix->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(matrix, &onMatrix);
    QVERIFY(!frame->findChild<QMenu*>("EditMenu"));
    QContextMenuEvent onForm(QContextMenuEvent::Mouse, QPoint(1, 1), editor->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(editor, &onForm);
    auto* menu = frame->findChild<QMenu*>("EditMenu");
    QVERIFY(menu);
    const QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 6);
    QCOMPARE(items.mid(0, 2), editor->EditActions());
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items.mid(3), (QList<QAction*>{frame->Action(ID_EDIT_CUT), frame->Action(ID_EDIT_COPY),
                                            frame->Action(ID_EDIT_PASTE)}));
    menu->close();
    QTest::keyClicks(hands->RangeBox(1), "QQ");
    QTest::mouseClick(hands->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(1))), Qt::LeftButton);
    QCOMPARE(frame->Documents()->subWindowList().size(), 2);
    QCOMPARE(app->Hands().Links().Current(), 1);
    frame->Documents()->setActiveSubWindow(frame->Documents()->subWindowList().front());
    QCOMPARE(app->Hands().Links().Current(), 0);  // the active editor's slot is the current one
    QVERIFY(frame->Action(ID_CLEAR_ALL)->isEnabled());
    frame->Action(ID_CLEAR_ALL)->trigger();
    QCOMPARE(hands->RangeBox(0)->text(), QString());
    QCOMPARE(editor->Document()->Count(), 0);
    frame->Documents()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(!app->Hands().Document(0), "a closed editor takes its document along");
    app->ExitInstance();
  }

  void aHeroHeatmapRequestFillsTheGridOnlyPreflopAgainstOp1Alone() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    CHandsView* hands = frame->HandsView();
    CHeatmapView* heatmap = frame->HeatmapView();
    QVERIFY(hands && heatmap);
    QStringList messages;
    hands->showMessage = [&messages](const QString& text) { messages << text; };
    heatmap->showTimedMessage = [&messages](const QString& text, const QString&, int) { messages << text; };
    auto apply = [&] { QTest::mouseClick(hands->findChild<QAbstractButton*>(QString::number(CHandsView::ApplyId(0))), Qt::LeftButton); };
    app->Hands().SetText(0, "h");
    app->Hands().SetText(1, "KK,QQ");
    apply();
    QVERIFY(heatmap->IsRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!heatmap->IsRunning(), 60'000);
    QCOMPARE(heatmap->Rows().size(), std::size_t{81});
    QCOMPARE(QString::fromStdWString(heatmap->Rows().front().hand), QString("AA"));
    QVERIFY(messages.back().startsWith("CPU equity calculation completed in"));
    const QString shown = heatmap->Grid()->item(0, 2)->text();

    // Each of these leaves the grid as it was, without a word.
    const int said = static_cast<int>(messages.size());
    app->Hands().SetText(2, "JJ");
    apply();
    QVERIFY(!heatmap->IsRunning());
    app->Hands().SetText(2, "");
    app->Hands().SetText(6, "2c");  // not a card of this deck: no dead card results
    app->Hands().SetText(6, "9c");
    apply();
    QVERIFY(!heatmap->IsRunning());
    app->Hands().SetText(6, "");
    app->Calculator().ClearDead();
    QVERIFY(app->Calculator().AppendBoardCard(Card("Ah")));
    QVERIFY(app->Calculator().AppendBoardCard(Card("7c")));
    QVERIFY(app->Calculator().AppendBoardCard(Card("6d")));
    apply();
    QVERIFY(!heatmap->IsRunning());
    QCOMPARE(static_cast<int>(messages.size()), said);
    QCOMPARE(heatmap->Grid()->item(0, 2)->text(), shown);
    app->ExitInstance();
  }

  void theChartWindowExistsOnceAndRunNeedsIt() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    CMainFrame* frame = app->MainFrame();
    QVERIFY(!frame->Action(ID_CHART_RUN)->isEnabled());
    frame->Action(ID_CHART_RUN)->trigger();  // nothing to run in: nothing happens
    frame->Action(ID_CHART_VIEW)->trigger();
    frame->Action(ID_CHART_VIEW)->trigger();
    QCOMPARE(frame->Documents()->subWindowList().size(), 1);
    CChartView* chart = frame->ChartView();
    QVERIFY(chart);
    QVERIFY(frame->Action(ID_CHART_RUN)->isEnabled());

    app->Hands().SetText(0, "AA");
    app->Hands().SetText(1, "KK");
    for (const char* card : {"Ah", "7c", "6d", "8s", "9s"}) QVERIFY(app->Calculator().AppendBoardCard(Card(card)));
    QSignalSpy finished(chart, &CChartView::runFinished);
    frame->Action(ID_CHART_RUN)->trigger();
    QVERIFY2(!frame->Action(ID_CHART_RUN)->isEnabled(), "one run at a time");
    QVERIFY(finished.wait(60'000));
    QVERIFY(frame->Action(ID_CHART_RUN)->isEnabled());
    QCOMPARE(chart->Document()->CurveCount(), 1);
    QCOMPARE(chart->Document()->Curve(0).name, QString("River"));
    frame->Action(ID_CHART_CLEAR)->trigger();
    QCOMPARE(chart->Document()->CurveCount(), 0);

    frame->Documents()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!frame->ChartView());
    QVERIFY(!frame->Action(ID_CHART_RUN)->isEnabled());
    app->ExitInstance();
  }

  void aFirstStartShowsTheShippedLibrariesFromItsOwnCopies() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    for (const char* name : {"UserRanges.xml", "Range6Plus.xml"})
      QCOMPARE(ReadText(HomeOf(home) / name), ReadText(app->folders().DataDir() / name));
    const QAbstractItemModel* ranges = frame->findChild<CRangeView*>()->Tree()->model();
    QCOMPARE(ranges->rowCount(), 1);
    QCOMPARE(ranges->index(0, 0).data().toString(), QString("User-defined-ranges"));
    QVERIFY(ranges->rowCount(ranges->index(0, 0)) >= 2);
    const RankingsModel* rankings = frame->findChild<CClassView*>()->Model();
    QVERIFY(rankings->rowCount(rankings->UserIndex()) >= 3);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    app->ExitInstance();
  }

  void aLibraryThatIsMissingOrAnOutlineIsToldOrShown() {
    QTemporaryDir home;
    WriteText(HomeOf(home) / "Ferrox6Plus.conf", "[Settings]\nUserRangePath=Gone.xml\n");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    QString told;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) told = box->text();
    QCOMPARE(told, QString("File not found! <%1>!").arg(QString::fromStdString((HomeOf(home) / "Gone.xml").string())));
    QCOMPARE(app->MainFrame()->findChild<CRangeView*>()->Tree()->model()->rowCount(), 0);
    app->ExitInstance();

    // The setting naming an outline saved from the pane: the tree comes from the outline.
    QTemporaryDir second;
    WriteText(HomeOf(second) / "Mine.xml", "User-defined-ranges|2\r\n\tLate|10\r\n\t\tBTN|20\r\n\t\t\tAA|21\r\n\t\t\t0.95%|22\r\n");
    WriteText(HomeOf(second) / "Ferrox6Plus.conf", "[Settings]\nUserRangePath=Mine.xml\n");
    app = StartApp(HomeOf(second));
    QVERIFY(app);
    const QAbstractItemModel* tree = app->MainFrame()->findChild<CRangeView*>()->Tree()->model();
    QCOMPARE(tree->rowCount(), 1);
    const QModelIndex late = tree->index(0, 0, tree->index(0, 0));
    QCOMPARE(tree->index(0, 0, late).data().toString(), QString("BTN"));
    app->ExitInstance();
  }

  void anOrderingFileThatDoesNotLoadIsToldInTheOutputPane() {
    QTemporaryDir home, elsewhere;
    WriteText(HomeOf(home) / "Twice.txt", "AA\n# comment\nAA\n");
    WriteText(HomeOf(home) / "Ferrox6Plus.conf", "[Game]\nFileSixPlus=NoSuchFile.txt\nFileChina=Twice.txt\n");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    const QString missing = QString::fromStdString(app->folders().OrderingFile("NoSuchFile.txt").string());
    const QString twice = QString::fromStdString((HomeOf(home) / "Twice.txt").string());
    QCOMPARE(OutputLines(*frame),
             QStringList({QString("The ordering file %1 did not load: No such file or directory. Percent ranges of the "
                                  "6+ rules are refused until an ordering file loads (ribbon: Ordering files).")
                              .arg(missing),
                          QString("The ordering file %1 did not load: line 3: AA again (first on line 1). Percent "
                                  "ranges of the Straight > Set rules are refused until an ordering file loads "
                                  "(ribbon: Ordering files).")
                              .arg(twice)}));
    QVERIFY(ReadText(HomeOf(home) / "Ferrox6Plus.log").find("NoSuchFile.txt did not load") != std::string::npos);

    // The ribbon loads a file whose name finds a folder in the working folder: told too.
    std::filesystem::create_directory(HomeOf(home) / "Mine.txt");
    std::string ordering;
    for (const auto& hc : quillet::AllClassesInMatrixOrder()) {
      const std::wstring label = quillet::ClassLabel(hc);
      ordering += std::string(label.begin(), label.end()) + "\n";
    }
    WriteText(HomeOf(elsewhere) / "Mine.txt", ordering);
    frame->chooseOrderingFile = [&](const QString&) {
      return QString::fromStdString((HomeOf(elsewhere) / "Mine.txt").string());
    };
    frame->Action(ID_BUTTON_FILE_SIXPLUS)->trigger();
    QVERIFY2(OutputLines(*frame).last().startsWith(
                 QString("The ordering file %1 did not load: it is a folder, not a file.")
                     .arg(QString::fromStdString((HomeOf(home) / "Mine.txt").string()))),
             qPrintable(OutputLines(*frame).last()));

    // A file that loads: percent ranges work again, and nothing more is said.
    const qsizetype said = OutputLines(*frame).size();
    WriteText(HomeOf(elsewhere) / "Good.txt", ordering);
    frame->chooseOrderingFile = [&](const QString&) {
      return QString::fromStdString((HomeOf(elsewhere) / "Good.txt").string());
    };
    frame->Action(ID_BUTTON_FILE_SIXPLUS)->trigger();
    quillet::Spec top;
    QCOMPARE(app->Panes().Parser().ParseRange(L"20%", top), 1);
    QVERIFY(!top.empty());
    QCOMPARE(OutputLines(*frame).size(), said);
    app->ExitInstance();
  }

  void anUnreadableLibraryIsToldInTheOutputPaneAtStart() {
    struct Case {
      const char* what;
      std::function<void(const std::filesystem::path&)> make;
      QString reason;
    };
    const Case cases[] = {
        {"a folder", [](const std::filesystem::path& f) { std::filesystem::create_directory(f); },
         "it is a folder, not a file"},
        {"empty", [](const std::filesystem::path& f) { WriteText(f, ""); }, "it is empty"},
        {"UTF-16", [](const std::filesystem::path& f) {
           const std::string text = "<User-defined-ranges></User-defined-ranges>";
           std::string utf16 = "\xFF\xFE";
           for (char c : text) utf16 += std::string{c, '\0'};
           WriteText(f, utf16);
         }, "it is UTF-16 text; save it as UTF-8"},
        {"without an element", [](const std::filesystem::path& f) { WriteText(f, "<?xml version=\"1.0\"?>\n"); },
         "it holds no XML element"},
    };
    for (const Case& c : cases) {
      QTemporaryDir home;
      const auto library = HomeOf(home) / "UserRanges.xml";
      c.make(library);
      auto app = StartApp(HomeOf(home));
      QVERIFY(app);
      QCOMPARE(OutputLines(*app->MainFrame()),
               QStringList{QString("The range library <%1> was not read: %2. The Range pane is empty.")
                               .arg(QString::fromStdString(library.string()), c.reason)});
      QVERIFY2(QApplication::activeModalWidget() == nullptr, c.what);
      QCOMPARE(app->MainFrame()->findChild<CRangeView*>()->Tree()->model()->rowCount(), 0);
      app->ExitInstance();
    }

    // A rankings file that does not load is told at start, not at the first edit.
    QTemporaryDir home;
    WriteText(HomeOf(home) / "Range6Plus.xml", "<Ranges><Equilab>");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    const QStringList lines = OutputLines(*app->MainFrame());
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines[0].startsWith(QString("The rankings file <%1> could not be read: ")
                                     .arg(QString::fromStdString((HomeOf(home) / "Range6Plus.xml").string()))),
             qPrintable(lines[0]));
    QVERIFY2(lines[0].endsWith(" The rankings tree is empty."), qPrintable(lines[0]));
    app->ExitInstance();
  }

  void aRankingFolderHasItsHandRangeWindowUntilItIsDeleted() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    CMainFrame* frame = app->MainFrame();
    frame->Action(ID_MODE_CREATE)->trigger();
    auto* rankings = frame->findChild<CClassView*>();
    rankings->promptName = [](const QString&) { return std::optional<QString>("Mine"); };
    rankings->ask = [](const QString&) { return true; };
    rankings->Tree()->setCurrentIndex(rankings->Model()->UserIndex());
    rankings->RunCommand(cmd::ID_CREATE_FOLDER);
    QMdiSubWindow* window = frame->Documents()->activeSubWindow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString("Hand Range (Mine)"));
    // An edit retitles the window with its range; the folder still finds it.
    CFerroxDoc* document = frame->ActiveEditorDocument();
    QVERIFY(document && document->ToggleClass(0, 0));
    QVERIFY(window->windowTitle() != QString("Hand Range (Mine)"));
    QCOMPARE(app->Hands().Links().Current(), -1);
    const QModelIndex user = rankings->Model()->UserIndex();
    const QPersistentModelIndex folder = rankings->Model()->index(rankings->Model()->rowCount(user) - 1, 0, user);
    QCOMPARE(folder.data().toString(), QString("Mine"));
    rankings->Tree()->setCurrentIndex(folder);
    // Storing the window's range as a ranking of the folder.
    rankings->promptName = [](const QString&) { return std::optional<QString>("Aces"); };
    rankings->RunCommand(cmd::ID_SAVE_RANGE);
    QCOMPARE(app->Rankings().RangeText(kUserDefinedCategory, L"Mine", L"Aces").value_or(L"?"), std::wstring(L"AA"));
    rankings->RunCommand(cmd::ID_OPEN_HAND_RANGE);
    QCOMPARE(frame->Documents()->subWindowList().size(), 1);
    rankings->Tree()->setCurrentIndex(folder);
    rankings->RunCommand(cmd::ID_DELETE_FOLDER);
    QTRY_COMPARE(frame->Documents()->subWindowList().size(), 0);
    app->ExitInstance();
  }

  void thePaneLayoutPersists() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    app->MainFrame()->Action(ID_VIEW_CARDSVIEW)->trigger();
    app->MainFrame()->Action(ID_VIEW_OUTPUTWND)->trigger();
    app->MainFrame()->close();
    app->ExitInstance();
    app = StartApp(HomeOf(home));
    QVERIFY(app->MainFrame()->Pane(ID_VIEW_CARDSVIEW)->isHidden());
    QVERIFY(!app->MainFrame()->Pane(ID_VIEW_OUTPUTWND)->isHidden());
    QVERIFY(!app->MainFrame()->Action(ID_VIEW_CARDSVIEW)->isChecked());
    app->ExitInstance();
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::FerroxAppTest)
#include "FerroxAppTest.moc"
