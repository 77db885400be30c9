// Start-up against what a home may hold: FIFOs where the libraries should be, large
// libraries, and a second program on the same home.
#include <QIcon>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QtTest>
#include <set>

#include "app/MainFrame.h"
#include "model/UserLibrary.h"
#include "quillet/Files.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/FifoWatch.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"

namespace ferrox::testing {
namespace {

// The real program on a home of the test's, as a second process.
void StartProgram(QProcess& program, const QTemporaryDir& home) {
  program.setProgram(QString::fromStdString((quillet::GetExecDir() / "Ferrox6Plus").string()));
  program.setArguments({"--home", home.path()});
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(env);
  program.start();
}

}  // namespace

class StartUpTest : public QObject {
  Q_OBJECT

 private slots:
  void aFifoInPlaceOfALibraryDoesNotHoldUpTheStart() {
    QTemporaryDir home;
    FifoWatch user(HomeOf(home) / "UserRanges.xml");
    FifoWatch rankings(HomeOf(home) / "Range6Plus.xml");
    QVERIFY(user.Made() && rankings.Made());
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    QVERIFY2(!user.ReaderBlocked(), "the start waited on the user library's FIFO");
    QVERIFY2(!rankings.ReaderBlocked(), "the start waited on the rankings' FIFO");
    QCOMPARE(app->MainFrame()->findChild<CRangeView*>()->Tree()->model()->rowCount(), 0);
    app->ExitInstance();
  }

  void aFifoNamedByTheLibrarySettingDoesNotHoldUpTheStart() {
    QTemporaryDir home, elsewhere;
    FifoWatch fifo(HomeOf(elsewhere) / "Mine.xml");
    QVERIFY(fifo.Made());
    WriteText(HomeOf(home) / "Ferrox6Plus.conf",
              "[Settings]\nUserRangePath=" + (HomeOf(elsewhere) / "Mine.xml").string() + "\n");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    QVERIFY2(!fifo.ReaderBlocked(), "the start waited on the FIFO the setting names");
    app->ExitInstance();
  }

  void aSecondStartOnTheSameHomeBringsTheFirstForward() {
    QTemporaryDir home;
    WriteText(HomeOf(home) / "Ferrox6Plus.ini", "[Splash]\nUse=0\n");
    QProcess first;
    StartProgram(first, home);
    QVERIFY(first.waitForStarted());
    const auto log = HomeOf(home) / "Ferrox6Plus.log";
    QTRY_VERIFY_WITH_TIMEOUT(ReadText(log).find("CPU completed <InitInstance>") != std::string::npos, 60'000);

    QProcess second;
    StartProgram(second, home);
    QVERIFY(second.waitForFinished(30'000));
    QCOMPARE(second.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(ReadText(log).find("the window was brought forward") != std::string::npos, 10'000);
    QCOMPARE(first.state(), QProcess::Running);
    first.terminate();  // closes the window as a user would
    QVERIFY(first.waitForFinished(30'000));

    // The home is free again: a new start takes it.
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    app->ExitInstance();
  }

  void aHomeHeldByAProgramThatDoesNotAnswerIsSaidToBeInUse() {
    QTemporaryDir home;
    WriteText(HomeOf(home) / "Ferrox6Plus.ini", "[Splash]\nUse=0\n");
    QLockFile held(QString::fromStdString((HomeOf(home) / "Ferrox6Plus.lock").string()));
    QVERIFY(held.tryLock(0));
    QProcess second;
    StartProgram(second, home);
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += second.readAllStandardError()).contains("does not answer"), 30'000);
    second.kill();  // its box would close by itself after a while
    second.waitForFinished();
    QVERIFY2(!std::filesystem::exists(HomeOf(home) / "Ferrox6Plus.log"), "it wrote none of the home's files");
  }

  void aLockLeftByAProgramThatDiedIsTakenOver() {
    QTemporaryDir home;
    // The lock file's layout: process id, program name, host.
    WriteText(HomeOf(home) / "Ferrox6Plus.lock",
              "2147483646\nFerrox6Plus\n" + QSysInfo::machineHostName().toStdString() + "\n");
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    QVERIFY2(!StartApp(HomeOf(home)), "and now it is held");
    app->ExitInstance();
  }

  void everyItemOfAPictureSharesOneIcon() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    std::map<int, std::set<qint64>> keys;  // image -> icon keys
    int items = 0;
    const CViewTree* tree = app->MainFrame()->findChild<CRangeView*>()->Tree();
    for (const QModelIndex& item : AllItems(*tree->model())) {
      keys[CViewTree::Image(item)].insert(tree->Icon(item).cacheKey());
      ++items;
    }
    QVERIFY(items > 10);
    QVERIFY(keys.size() >= 3);  // the root, folders, ranges and their texts
    for (const auto& [image, icons] : keys) QVERIFY2(icons.size() == 1, qPrintable(QString::number(image)));
    app->ExitInstance();
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::StartUpTest)
#include "StartUpTest.moc"
