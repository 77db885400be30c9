// The manual's window on the assembled main window: F1 and the ribbon's Help button open it,
// once; its links move inside the manual, web links go to the desktop; the manual keeps up
// with the README's range notation.
#include <QAction>
#include <QFile>
#include <QLayout>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/HelpWindow.h"
#include "app/MainFrame.h"
#include "tests/app/AppTestSupport.h"
#include "views/CommandIds.h"
#include "views/HandsView.h"
#include "views/RangeEdit.h"
#include "widgets/RibbonBar.h"

namespace ferrox::testing {
namespace {

using namespace cmd;

struct Program {
  QTemporaryDir home;
  std::unique_ptr<CFerroxApp> app = StartApp(HomeOf(home));
  CMainFrame* frame = app ? app->MainFrame() : nullptr;

  ~Program() {
    if (app) app->ExitInstance();
  }
  QList<HelpWindow*> HelpWindows() const { return frame->findChildren<HelpWindow*>(); }
  HelpWindow* Help() const { return HelpWindows().value(0); }
  bool Activate() const {
    frame->show();
    frame->activateWindow();
    return QTest::qWaitForWindowActive(frame);
  }
  // F1 where a user has the focus: in the Hero's range box.
  void PressF1() const {
    CRangeEdit* box = frame->HandsView()->RangeBox(0);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1);
  }
};

QToolButton* RibbonButtonOf(const CMainFrame& frame, int id) {
  for (QToolButton* button : frame.Ribbon()->findChildren<QToolButton*>())
    if (button->defaultAction() == frame.Action(id)) return button;
  return nullptr;
}

QAction* NavigationAction(const HelpWindow& help, const QString& text) {
  for (QAction* action : help.findChild<QToolBar*>()->actions())
    if (action->text() == text) return action;
  return nullptr;
}

// The document's text fragments with their formats, in order.
QList<QTextFragment> Fragments(const QTextDocument& document) {
  QList<QTextFragment> fragments;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) fragments << it.fragment();
  return fragments;
}

// Where the first link to href shows in the browser's viewport; (0, 0) when there is none.
QPoint LinkPoint(const QTextBrowser& browser, const QString& href) {
  for (const QTextFragment& fragment : Fragments(*browser.document()))
    if (fragment.charFormat().anchorHref() == href) {
      QTextCursor cursor(browser.document());
      cursor.setPosition(fragment.position() + 1);
      return browser.cursorRect(cursor).center();
    }
  return {};
}

QString ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The text between a heading and the next heading of its level.
QString Section(const QString& text, const QString& heading, const QString& nextHeading) {
  const qsizetype start = text.indexOf(heading);
  if (start < 0) return {};
  const qsizetype end = text.indexOf(nextHeading, start + heading.size());
  return text.mid(start, end < 0 ? -1 : end - start);
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void f1OpensTheManualInOneWindow() {
    Program p;
    QVERIFY(p.frame && p.Activate());
    QVERIFY(p.HelpWindows().isEmpty());
    p.PressF1();
    HelpWindow* help = p.Help();
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QVERIFY(help->isWindow());
    QVERIFY(!help->isModal());
    QCOMPARE(help->windowTitle(), QString("Ferrox6Plus Help"));
    QCOMPARE(help->Browser()->source(), HelpWindow::ManualUrl());
    QCOMPARE(help->Browser()->documentTitle(), QString("Ferrox6Plus Help"));
    const QString text = help->Browser()->toPlainText();
    for (const char* heading : {"Range notation", "The two rule sets", "Hand files", "Keyboard"})
      QVERIFY2(text.contains(heading), heading);

    // The main window stays usable; a second F1 there brings the same window forward.
    QVERIFY(p.Activate());
    p.PressF1();
    QCOMPARE(p.HelpWindows().size(), 1);
    QCOMPARE(p.Help(), help);
    QVERIFY(QTest::qWaitForWindowActive(help));

    // Esc closes it; F1 brings it back.
    QTest::keyClick(help->Browser(), Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    QVERIFY(p.Activate());
    p.PressF1();
    QCOMPARE(p.HelpWindows().size(), 1);
    QVERIFY(help->isVisible());
  }

  void theRibbonHelpButtonSitsBesideAboutAndOpensTheManual() {
    Program p;
    QVERIFY(p.frame && p.Activate());
    QToolButton* help = RibbonButtonOf(*p.frame, ID_HELP);
    QToolButton* about = RibbonButtonOf(*p.frame, ID_APP_ABOUT);
    QVERIFY(help && about);
    QVERIFY(help->isVisible());
    QCOMPARE(p.frame->Action(ID_HELP)->shortcut(), QKeySequence(Qt::Key_F1));
    // Right after About, on the ribbon's top row.
    QLayout* top = p.frame->Ribbon()->layout()->itemAt(0)->layout();
    QVERIFY(top);
    QCOMPARE(top->indexOf(help), top->indexOf(about) + 1);
    QTest::mouseClick(help, Qt::LeftButton);
    QVERIFY(p.Help());
    QVERIFY(QTest::qWaitForWindowExposed(p.Help()));
    QCOMPARE(p.Help()->Browser()->source(), HelpWindow::ManualUrl());
  }

  void theManualsLinksLeadInsideIt() {
    Program p;
    QVERIFY(p.frame && p.Activate());
    p.PressF1();
    HelpWindow* help = p.Help();
    QVERIFY(help && QTest::qWaitForWindowActive(help));
    QTextBrowser* browser = help->Browser();
    // Every in-page link has its target.
    QStringList hrefs, names;
    for (const QTextFragment& fragment : Fragments(*browser->document())) {
      if (fragment.charFormat().isAnchor() && !fragment.charFormat().anchorHref().isEmpty())
        hrefs << fragment.charFormat().anchorHref();
      names << fragment.charFormat().anchorNames();
    }
    QVERIFY(hrefs.size() > 10);
    for (const QString& href : hrefs)
      QVERIFY2(href.startsWith('#') && names.contains(href.mid(1)), qPrintable(href));

    QScrollBar* scroll = browser->verticalScrollBar();
    QCOMPARE(scroll->value(), 0);
    const QPoint link = LinkPoint(*browser, "#notation");
    QVERIFY(!link.isNull());
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, link);
    QCOMPARE(browser->source().fragment(), QString("notation"));
    QCOMPARE(browser->source().adjusted(QUrl::RemoveFragment), HelpWindow::ManualUrl());
    const int atNotation = scroll->value();
    QVERIFY(atNotation > 0);
    // The heading is at the top of the view.
    const QTextCursor heading = browser->document()->find("Range notation", browser->cursorForPosition({0, 0}));
    QVERIFY(!heading.isNull());
    QVERIFY(browser->cursorRect(heading).top() < browser->viewport()->height() / 4);

    QAction* back = NavigationAction(*help, "Back");
    QAction* forward = NavigationAction(*help, "Forward");
    QVERIFY(back && forward && back->isEnabled() && !forward->isEnabled());
    back->trigger();
    QCOMPARE(browser->source(), HelpWindow::ManualUrl());
    QCOMPARE(scroll->value(), 0);
    QVERIFY(forward->isEnabled());
    QTest::keyClick(browser, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(browser->source().fragment(), QString("notation"));
    QCOMPARE(scroll->value(), atNotation);
    NavigationAction(*help, "Home")->trigger();
    QCOMPARE(browser->source(), HelpWindow::ManualUrl());
    QCOMPARE(scroll->value(), 0);
  }

  void webLinksOpenOnTheDesktopNotInTheWindow() {
    HelpWindow help;
    QList<QUrl> opened;
    help.openExternal = [&opened](const QUrl& url) { opened << url; };
    help.Present();
    QVERIFY(QTest::qWaitForWindowExposed(&help));
    QTextBrowser* browser = help.Browser();
    browser->setHtml("<p><a href=\"https://www.example.org/six\">outside</a> <a href=\"#here\">inside</a></p>"
                     "<p><a name=\"here\"></a>here</p>");
    const QString before = browser->toHtml();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, LinkPoint(*browser, "https://www.example.org/six"));
    QCOMPARE(opened, QList<QUrl>{QUrl("https://www.example.org/six")});
    QCOMPARE(browser->toHtml(), before);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, LinkPoint(*browser, "#here"));
    QCOMPARE(opened.size(), 1);
  }

  void theManualNamesEveryNotationFormOfTheReadme() {
    const QString readme = ReadAll(FERROX_README);
    const QString table = Section(readme, "\n## Range notation\n", "\n## ");
    QStringList forms;
    static const QRegularExpression firstColumn(R"(^\| ([^|]+) \|)", QRegularExpression::MultilineOption);
    static const QRegularExpression code("`([^`]+)`");
    for (auto row = firstColumn.globalMatch(table); row.hasNext();)
      for (auto form = code.globalMatch(row.next().captured(1)); form.hasNext();) forms << form.next().captured(1);
    QVERIFY2(forms.size() >= 10, qPrintable(forms.join(' ')));  // the README's table was found and read

    const QString manual = ReadAll(":/help/Ferrox6Plus.html");
    QVERIFY(!manual.isEmpty());
    QTextDocument notation;
    notation.setHtml(Section(manual, "<a name=\"notation\">", "<h2"));
    const QString text = notation.toPlainText();
    QVERIFY(text.contains("Range notation"));
    for (const QString& form : forms) QVERIFY2(text.contains(form), qPrintable(form + " is not in the manual"));
  }
};

}  // namespace ferrox::testing

QTEST_MAIN(ferrox::testing::HelpTest)
#include "HelpTest.moc"
