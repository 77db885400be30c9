// Start-up against what a home may hold: FIFOs where the libraries should be, large
// libraries, and a second program on the same home.
#include <QIcon>
#include <QTreeWidgetItemIterator>
#include <QtTest>
#include <set>

#include "app/MainFrame.h"
#include "model/UserLibrary.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/FifoWatch.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"

namespace ferrox::testing {

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
    QCOMPARE(app->MainFrame()->findChild<CRangeView*>()->Tree()->topLevelItemCount(), 0);
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

  void everyItemOfAPictureSharesOneIcon() {
    QTemporaryDir home;
    auto app = StartApp(HomeOf(home));
    QVERIFY(app);
    std::map<int, std::set<qint64>> keys;  // image -> icon keys
    int items = 0;
    for (QTreeWidgetItemIterator it(app->MainFrame()->findChild<CRangeView*>()->Tree()); *it; ++it, ++items)
      keys[CViewTree::Image(*it)].insert((*it)->icon(0).cacheKey());
    QVERIFY(items > 10);
    QVERIFY(keys.size() >= 3);  // the root, folders, ranges and their texts
    for (const auto& [image, icons] : keys) QVERIFY2(icons.size() == 1, qPrintable(QString::number(image)));
    app->ExitInstance();
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::StartUpTest)
#include "StartUpTest.moc"
