// The ribbon: elements following their actions, the panel layout and the category tabs.
#include <QAction>
#include <QCheckBox>
#include <QMainWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "widgets/ColourBox.h"
#include "widgets/ColourButton.h"
#include "widgets/ColourGallery.h"
#include "widgets/RibbonBar.h"
#include "widgets/RibbonCategory.h"
#include "widgets/RibbonPanel.h"

using namespace ferrox::widgets;

namespace {

QAction* NamedAction(const QString& name, QObject* parent, bool checkable = false) {
  auto* action = new QAction(name, parent);
  action->setObjectName(name.toLower());
  action->setCheckable(checkable);
  return action;
}

}  // namespace

class RibbonTest : public QObject {
  Q_OBJECT

 private slots:
  void elementsFollowTheirActions() {
    RibbonPanel panel("Panel");
    QAction* evaluate = NamedAction("Evaluate", &panel);
    QAction* exact = NamedAction("Exact", &panel, true);
    QAction* board = NamedAction("Board", &panel);
    panel.addLargeButton(evaluate);
    QCheckBox* box = panel.addCheck(exact);
    ColourButton* colour = panel.addColourButton(board, true);
    auto* button = panel.findChild<QToolButton*>("evaluate");
    QVERIFY(button && box->objectName() == "exact" && colour->text() == "Board");
    for (QAction* action : {evaluate, exact, board}) action->setEnabled(false);
    evaluate->setText("Run");
    evaluate->setVisible(false);
    QVERIFY(!button->isEnabled() && !box->isEnabled() && !colour->isEnabled());
    QVERIFY(button->isHidden() && button->text() == "Run");
  }

  void checkBoxTogglesItsAction() {
    RibbonPanel panel("Options");
    QAction* exact = NamedAction("Exact", &panel, true);
    QCheckBox* box = panel.addCheck(exact);
    exact->setChecked(true);
    QVERIFY(box->isChecked());
    QSignalSpy triggered(exact, &QAction::triggered);
    box->click();
    QVERIFY(!exact->isChecked());
    box->setChecked(true);
    QVERIFY(exact->isChecked());
    QCOMPARE(triggered.size(), 2);
  }

  void colourChoiceTriggersTheActionAfterStoring() {
    RibbonPanel panel("Colours");
    QAction* board = NamedAction("Board", &panel);
    ColourButton* button = panel.addColourButton(board, false);
    QColor seen;
    connect(board, &QAction::triggered, [&] { seen = button->colour(); });
    ColourBox* box = button->gallery()->boxes()[12];
    box->click();
    QCOMPARE(seen, box->colour());
  }

  void menuButtonPopsUpItsMenu() {
    RibbonPanel panel("Ranges");
    QAction* ranges = NamedAction("Ranges", &panel);
    QMenu menu;
    menu.addAction("Top 10%");
    QToolButton* button = panel.addLargeMenuButton(ranges, &menu);
    panel.show();
    bool shown = false;
    QTimer::singleShot(0, &menu, [&] {
      shown = menu.isVisible();
      menu.close();
    });
    QSignalSpy triggered(ranges, &QAction::triggered);
    QTest::mouseClick(button, Qt::LeftButton);  // returns once the menu closes
    QVERIFY(shown);
    QCOMPARE(triggered.size(), 0);
  }

  void smallElementsStackInColumnsOfThree() {
    RibbonPanel panel("Layout");
    QList<QWidget*> small;
    for (int i = 0; i < 4; ++i) small.append(panel.addSmallButton(NamedAction("S", &panel)));
    QWidget* large = panel.addLargeButton(NamedAction("L", &panel));
    panel.addSeparator();
    QWidget* after = panel.addCheck(NamedAction("C", &panel, true));
    panel.show();
    QCOMPARE(panel.elements().size(), 6);
    QCOMPARE(small[2]->x(), small[0]->x());
    QVERIFY(small[1]->y() > small[0]->y() && small[2]->y() > small[1]->y());
    QVERIFY(small[3]->x() > small[0]->x());
    QCOMPARE(small[3]->y(), small[0]->y());
    QVERIFY(large->x() > small[3]->x());
    QVERIFY(large->height() >= 3 * small[0]->height());
    QVERIFY(after->x() > large->geometry().right());
    QCOMPARE(after->y(), small[0]->y());
  }

  void categoryPacksPanelsAtTheLeft() {
    RibbonCategory category("Home");
    RibbonPanel* first = category.addPanel("One");
    RibbonPanel* second = category.addPanel("Two");
    category.resize(800, category.sizeHint().height());
    category.show();
    QCOMPARE(category.panels(), (QList<RibbonPanel*>{first, second}));
    QCOMPARE(second->title(), QString("Two"));
    QVERIFY(second->x() > first->geometry().right() + 1);  // a line sits between them
    QVERIFY(second->geometry().right() < 400);
  }

  void tabsSwitchCategories() {
    RibbonBar bar;
    for (const char* name : {"Home", "Analysis", "View"}) bar.addCategory(name);
    bar.show();
    QCOMPARE(bar.categoryCount(), 3);
    QCOMPARE(bar.category(1)->name(), QString("Analysis"));
    QVERIFY(!bar.category(3) && !bar.category(-1));
    QVERIFY(bar.currentCategory() == 0 && bar.category(0)->isVisible());
    QSignalSpy changed(&bar, &RibbonBar::currentCategoryChanged);
    bar.tabBar()->setCurrentIndex(2);
    QCOMPARE(bar.currentCategory(), 2);
    QVERIFY(bar.category(2)->isVisible() && !bar.category(0)->isVisible());
    bar.setCurrentCategory(1);
    QVERIFY(bar.category(1)->isVisible());
    QCOMPARE(changed.size(), 2);
  }

  void topRowAndFixedHeightInAWindow() {
    QMainWindow window;
    auto* bar = new RibbonBar;
    bar->addCategory("Home")->addPanel("Panel");
    QMenu style;
    QToolButton* styleButton = bar->addRightMenu("Style", &style);
    QToolButton* aboutButton = bar->addRightAction(new QAction("About", &window));
    window.setMenuWidget(bar);
    window.resize(700, 300);
    window.show();
    QCOMPARE(bar->applicationButton()->menu(), bar->applicationMenu());
    QCOMPARE(bar->applicationButton()->toolTip(), QString("F"));
    QCOMPARE(styleButton->menu(), &style);
    QVERIFY(styleButton->x() > bar->tabBar()->geometry().right());
    QVERIFY(aboutButton->x() > styleButton->x());
    const int height = bar->height();
    QVERIFY2(height >= 95 && height <= 135, qPrintable(QString::number(height)));
    window.resize(700, 700);
    QCOMPARE(bar->height(), height);
  }

  // The application button is drawn in the selection colours of the palette in force.
  void applicationButtonFollowsThePalette() {
    RibbonBar bar;
    bar.show();
    for (const QColor& highlight : {QColor(0x12, 0x34, 0x56), QColor(0xC0, 0x60, 0x20)}) {
      QPalette palette = bar.palette();
      palette.setColor(QPalette::Highlight, highlight);
      bar.setPalette(palette);
      const QImage image = bar.applicationButton()->grab().toImage();
      QCOMPARE(image.pixelColor(4, image.height() / 2), highlight);
    }
  }
};

int RunRibbonTest(int argc, char** argv) {
  RibbonTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "RibbonTest.moc"
