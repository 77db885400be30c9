// The range tree pane against the user library document: every command's prompt, names and
// messages, the enabling rules, the two modes, the drag data, and the outline file. After
// each edit the written library file is read back by a fresh library and compared with
// the tree.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>

#include "model/HandsModel.h"
#include "model/UserLibrary.h"
#include "model/UserLibraryModel.h"
#include "views/CommandIds.h"
#include "views/DlgAddItem.h"
#include "views/RangeDragData.h"
#include "views/RangeView.h"
#include "views/RangeViewToolBar.h"
#include "views/ViewTree.h"

using namespace ferrox;

namespace {

constexpr char kLibrary[] =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<User-defined-ranges>\r\n"
    "\t<Folder name=\"Open\">\r\n"
    "\t\t<Range RangeName=\"UTG\" value=\"AA,KK\" percent=\"1.90%\"/>\r\n"
    "\t\t<Range RangeName=\"BTN\" value=\"AKs\" percent=\"0.63%\"/>\r\n"
    "\t</Folder>\r\n"
    "\t<Folder name=\"Deep\"><Folder name=\"Inner\"/></Folder>\r\n"
    "\t<Folder name=\"Empty\"/>\r\n"
    "\t<Range RangeName=\"Top\" value=\"AA\" percent=\"0.95%\"/>\r\n"
    "</User-defined-ranges>\r\n";

const QStringList kShown = {"User-defined-ranges", "  Open", "    UTG [AA,KK | 1.90%]", "    BTN [AKs | 0.63%]",
                            "  Deep", "    Inner", "  Empty", "  Top [AA | 0.95%]"};

const QString kFolderPrompt = "Please enter a name for for the new folder";
const QString kRangePrompt = "Please enter a name for the new hand range";

// A range as "name [text | percent]", anything else by its text, two blanks per level.
void TreeLines(const QModelIndex& item, int depth, QStringList& out) {
  const QAbstractItemModel* model = item.model();
  QString line = QString(depth * 2, ' ') + item.data().toString();
  if (CViewTree::Code(item) == 20) {
    QStringList texts;
    for (int i = 0; i < model->rowCount(item); ++i) texts << model->index(i, 0, item).data().toString();
    out << line + " [" + texts.join(" | ") + "]";
    return;
  }
  out << line;
  for (int i = 0; i < model->rowCount(item); ++i) TreeLines(model->index(i, 0, item), depth + 1, out);
}

QModelIndex Child(const QModelIndex& parent, int row) { return parent.model()->index(row, 0, parent); }

void DocumentLines(const xml::Node& node, int depth, QStringList& out) {
  for (const auto& child : node.Children()) {
    const int kind = UserLibrary::ItemKindOf(*child);
    const QString indent(depth * 2, ' ');
    const UserRangeTexts texts = UserLibrary::RangeTexts(*child);
    const auto q = [](const std::wstring& text) { return QString::fromStdWString(text); };
    if (kind == 20) out << indent + q(texts.name) + " [" + q(texts.value) + " | " + q(texts.percent) + "]";
    else if (kind >= 0) out << indent + (kind == 10 ? q(texts.name) : q(child->Name()));
    DocumentLines(*child, kind >= 0 ? depth + 1 : depth, out);
  }
}

// The pane over a library in a temporary folder, in create mode, its boxes recorded.
struct Pane {
  QTemporaryDir dir;
  QString file = dir.filePath("UserRanges.xml");
  UserLibrary library{QFile::encodeName(file).toStdString()};
  UserLibraryModel model{library};
  CalculatorDocument cards;
  PaneSettings settings;
  HandsModel hands{cards, settings};
  std::unique_ptr<CRangeView> view;
  QStringList messages, questions, prompts, stored;
  std::deque<std::optional<QString>> names;  // answers to the name box; empty: Cancel
  std::deque<bool> answers;                   // answers to Yes/No; empty: No
  QList<int> applied;
  QString saveFile, openFile, openAsked;

  explicit Pane(const char* xml = kLibrary, bool expand = true) {
    QFile out(file);
    if (out.open(QIODevice::WriteOnly)) out.write(xml);
    out.close();
    settings.SetMode(EditMode::Create);
    view = std::make_unique<CRangeView>(&model, &hands, &settings);
    view->showMessage = [this](const QString& text) { messages << text; };
    view->ask = [this](const QString& text) {
      questions << text;
      return Next(answers, false);
    };
    view->promptName = [this](const QString& prompt) {
      prompts << prompt;
      return Next(names, std::optional<QString>());
    };
    view->applyRow = [this](int row) { applied << row; };
    view->chooseSaveFile = [this] { return saveFile; };
    view->chooseOpenFile = [this](const QString& current) {
      openAsked = current;
      return openFile;
    };
    view->storeUserRangePath = [this](const QString& path) { stored << path; };
    view->Load(QFile::encodeName(file).toStdString());
    if (expand) Tree()->expandAll();
    view->resize(300, 400);
    view->show();
  }
  template <typename T>
  static T Next(std::deque<T>& queue, T fallback) {
    if (!queue.empty()) {
      fallback = std::move(queue.front());
      queue.pop_front();
    }
    return fallback;
  }
  CViewTree* Tree() const { return view->Tree(); }
  QStringList Shown() const {
    QStringList out;
    for (int i = 0; i < model.rowCount(); ++i) TreeLines(model.index(i, 0), 0, out);
    return out;
  }
  // What a fresh library reads from the written file.
  QStringList Written() const {
    UserLibrary again(QFile::encodeName(dir.filePath("unused.xml")).toStdString());
    if (!again.Load(QFile::encodeName(file).toStdString()).ok) return {"<unreadable>"};
    QStringList out;
    DocumentLines(again.Document(), 0, out);
    return out;
  }
  QModelIndex ItemAt(const QStringList& path) const {
    QModelIndex item;
    for (const QString& text : path) {
      QModelIndex next;
      for (int i = 0; i < model.rowCount(item) && !next.isValid(); ++i)
        if (model.index(i, 0, item).data().toString() == text) next = model.index(i, 0, item);
      if (!next.isValid()) return {};
      item = next;
    }
    return item;
  }
  QModelIndex Item(const QString& a, const QString& b = {}, const QString& c = {}) const {
    QStringList path{"User-defined-ranges", a};
    if (!b.isEmpty()) path << b;
    if (!c.isEmpty()) path << c;
    return ItemAt(path);
  }
  QModelIndex Root() const { return ItemAt({"User-defined-ranges"}); }
  void Run(const QModelIndex& item, int id, std::optional<QString> name = std::nullopt) {
    Tree()->setCurrentIndex(item);
    if (name) names.push_back(name);
    view->RunCommand(id);
  }
  QPoint Centre(const QModelIndex& item) const { return Tree()->visualRect(item).center(); }
  QMenu* RightClick(const QModelIndex& item) {
    const QPoint at = Centre(item);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Tree()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(Tree()->viewport(), &event);
    return view->ShownMenu();
  }
  void Mouse(QEvent::Type type, const QPoint& at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, Tree()->viewport()->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(Tree()->viewport(), &event);
  }
  // Press on the item, move past the drag distance, release.
  void DragFrom(const QModelIndex& item) {
    const QPoint at = Centre(item);
    const QPoint away = at + QPoint(QApplication::startDragDistance() + 4, 0);
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(QEvent::MouseMove, away, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, away, Qt::NoButton);
  }
};

QStringList MenuTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions()) texts << action->text() + (action->isEnabled() ? "" : " (off)");
  return texts;
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

}  // namespace

class RangeViewTest : public QObject {
  Q_OBJECT

 private slots:
  void treeShowsTheLibraryWithCodesAndImages() {
    Pane pane;
    QCOMPARE(pane.Shown(), kShown);
    QCOMPARE(pane.Tree()->objectName(), QString("1390"));
    QVERIFY(!pane.Tree()->accessibleName().isEmpty());
    const QList<std::pair<QModelIndex, int>> expected = {
        {pane.Root(), 0}, {pane.Item("Open"), 2},           {pane.Item("Top"), 1},
        {Child(pane.Item("Top"), 0), 7},         {Child(pane.Item("Top"), 1), 7}};
    const QList<int> codes = {2, 10, 20, 21, 22};
    for (int i = 0; i < expected.size(); ++i) {
      QCOMPARE(CViewTree::Code(expected[i].first), codes[i]);
      QCOMPARE(CViewTree::Image(expected[i].first), expected[i].second);
      QVERIFY(!pane.Tree()->Icon(expected[i].first).isNull());
    }
    for (int id : {32793, 32792, 32799, 32800}) {
      QWidget* button = pane.view->ToolBar()->findChild<QWidget*>(QString::number(id));
      QVERIFY2(button && !button->accessibleName().isEmpty(), qPrintable(QString::number(id)));
    }
  }

  void contextMenusFollowTheItemAndTheEnablingRules() {
    Pane pane;
    QMenu* menu = pane.RightClick(pane.Root());
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(menu->objectName(), QString("173"));
    // The root holds folders and a range already.
    QCOMPARE(MenuTexts(menu), QStringList({"Create folder (off)", "Create range (off)"}));
    QCOMPARE(pane.RightClick(pane.Item("Open"))->objectName(), QString("201"));
    QCOMPARE(MenuTexts(pane.view->ShownMenu()),
             QStringList({"Create Subfolder", "Insert new folder before", "Insert new folder after",
                          "Create range (off)", "Rename folder", "Delete folder"}));
    QCOMPARE(MenuTexts(pane.RightClick(pane.Item("Deep")))[0], QString("Create Subfolder (off)"));
    QCOMPARE(MenuTexts(pane.RightClick(pane.Item("Empty")))[3], QString("Create range"));
    menu = pane.RightClick(pane.Item("Open", "BTN"));
    QCOMPARE(menu->objectName(), QString("202"));
    QCOMPARE(MenuTexts(menu), QStringList({"Insert new range  before", "Insert new range after", "Save", "Save As",
                                           "Rename range", "Delete range"}));
    // The right click selected the item and focused the tree.
    QCOMPARE(pane.Tree()->currentIndex(), pane.Item("Open", "BTN"));
    QCOMPARE(pane.view->window()->focusWidget(), pane.Tree());
    QVERIFY(pane.view->ToolBar()->Action(32793)->isEnabled());
    // An item of the menu runs its command.
    menu->actions()[5]->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(pane.questions, QStringList({"Are you sure to delete?"}));
    menu = pane.RightClick(Child(pane.Item("Top"), 1));
    QVERIFY(!menu || !menu->isVisible());
    QVERIFY(!pane.view->ToolBar()->Action(32792)->isEnabled());
  }

  void useModeShowsNoMenuAndAppliesNothingCreateModeApplies() {
    Pane pane;
    pane.settings.SetMode(EditMode::Use);
    QCOMPARE(pane.Tree()->DragMode(), 2);
    QVERIFY(!pane.RightClick(pane.Item("Open")));
    QTest::mouseClick(pane.Tree()->viewport(), Qt::LeftButton, {}, pane.Centre(pane.Item("Open", "UTG")));
    QVERIFY(pane.applied.isEmpty());
    QVERIFY(pane.hands.Text(0).isEmpty());

    pane.settings.SetMode(EditMode::Create);
    QCOMPARE(pane.Tree()->DragMode(), 1);
    const QModelIndex utg = pane.Item("Open", "UTG");
    const QList<std::pair<QModelIndex, QString>> clicks = {
        {utg, "AA,KK"}, {Child(pane.Item("Top"), 0), "AA"}, {Child(pane.Item("Open", "BTN"), 1), "AKs"}};
    for (const auto& [item, text] : clicks) {
      QTest::mouseClick(pane.Tree()->viewport(), Qt::LeftButton, {}, pane.Centre(item));
      QCOMPARE(pane.hands.Text(0), text);
    }
    QCOMPARE(pane.applied, QList<int>({0, 0, 0}));
    // Opening a folder keeps the Hero's range.
    QTest::mouseClick(pane.Tree()->viewport(), Qt::LeftButton, {}, pane.Centre(pane.Item("Open")));
    QCOMPARE(pane.hands.Text(0), QString("AKs"));
    QCOMPARE(pane.applied.size(), 3);
  }

  void dragDataOfRangesAndTheirTexts() {
    Pane pane;
    CViewTree* tree = pane.Tree();
    const QModelIndex btn = pane.Item("Open", "BTN");
    for (const QModelIndex& item : {btn, Child(btn, 0), Child(btn, 1)}) {
      QCOMPARE(tree->dragText(item), QString("AKs"));
      std::unique_ptr<QMimeData> data(tree->DragData(item));
      QVERIFY(data);
      QCOMPARE(RangeDragText(data->data(kRangeMimeFormat)), QString("#range=AKs"));
    }
    QVERIFY(tree->dragText(pane.Item("Open")).isEmpty());
    QVERIFY(!tree->DragData(pane.Item("Open")));
    // Dragged out in use mode: a range goes, a folder starts nothing.
    QStringList dragged;
    tree->runDrag = [&dragged](QMimeData* data) {
      dragged << RangeDragText(data->data(kRangeMimeFormat));
      delete data;
    };
    pane.settings.SetMode(EditMode::Use);
    pane.DragFrom(Child(btn, 1));
    pane.DragFrom(pane.Item("Deep"));
    QCOMPARE(dragged, QStringList({"#range=AKs"}));
    QVERIFY(!tree->PressedIndex().isValid());
  }

  void createFolderPromptsAndRefusesTakenNames() {
    Pane pane;
    pane.Run(pane.Item("Open"), 32811, "UTG");
    QCOMPARE(pane.messages, QStringList({"The item [UTG] already exist, old item is not renamed!"}));
    pane.Run(pane.Item("Open"), 32811, "Open");  // the folder's own name is no child of it
    pane.Run(pane.Item("Empty"), 32811, "");
    pane.Run(pane.Item("Empty"), 32811);  // Cancel
    QCOMPARE(pane.prompts, QStringList(4, kFolderPrompt));
    QStringList expected = kShown;
    expected.insert(2, "    Open");
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
    QVERIFY(pane.Tree()->isExpanded(pane.Item("Open", "Open")));

    pane.Run(pane.Item("Deep", "Inner"), 32811, "Leaf");  // the first child of a childless folder
    pane.Run(pane.Item("Deep"), 32811, "Never");          // Deep holds a folder: off
    expected.insert(7, "      Leaf");
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
  }

  void insertFolderAndRangeBesideAcceptDuplicates() {
    Pane pane;
    pane.Run(pane.Item("Deep"), 2003, "Empty");
    pane.Run(pane.Item("Deep"), 2004, "After");
    pane.Run(pane.Item("Open", "BTN"), 2001, "UTG");
    pane.Run(pane.Item("Open", "BTN"), 2002, "");  // an empty name ends it
    pane.Run(pane.Item("Top"), 2002, "Last");
    QCOMPARE(pane.prompts, QStringList({"Please enter a name for the new falder", "Please enter a name for the new falder",
                                        kRangePrompt, kRangePrompt, kRangePrompt}));
    const QStringList expected = {"User-defined-ranges", "  Open", "    UTG [AA,KK | 1.90%]", "    UTG [ | 0%]",
                                  "    BTN [AKs | 0.63%]", "  Empty", "  Deep", "    Inner", "  After", "  Empty",
                                  "  Top [AA | 0.95%]", "  Last [ | 0%]"};
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
    QVERIFY(pane.messages.isEmpty());
  }

  void createRangeStoresTheHerosRange() {
    Pane pane;
    pane.hands.SetText(0, "AA,KK");
    pane.Run(pane.Item("Deep"), 32812, "Inner");  // taken by the subfolder
    QCOMPARE(pane.messages, QStringList({"The predefined hand range [Inner] already exist"}));
    pane.Run(pane.Item("Empty"), 32812, "Pairs");
    pane.Run(pane.Item("Open"), 32812, "Never");  // Open holds ranges: off
    QCOMPARE(pane.prompts.size(), 2);
    QStringList expected = kShown;
    expected.insert(7, "    Pairs [AA,KK | 1.90%]");
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
    QVERIFY(pane.Tree()->isExpanded(pane.Item("Empty", "Pairs")));

    // Below a root without ranges a taken name is not reported: the range goes beside it.
    Pane bare("<User-defined-ranges><Folder name=\"F\"/></User-defined-ranges>");
    bare.Run(bare.Root(), 32802, "F");
    const QStringList beside = {"User-defined-ranges", "  F", "  F [ | 0%]"};
    QCOMPARE(bare.Shown(), beside);
    QCOMPARE(bare.Written(), beside);
    QVERIFY(bare.messages.isEmpty());
  }

  void saveAsOverwritesOnYesAndAsksAgainOnNo() {
    Pane pane;
    pane.hands.SetText(0, "AKs");
    pane.answers = {true};
    pane.Run(pane.Item("Open", "UTG"), 32813, "UTG");  // its own name counts
    QCOMPARE(pane.questions, QStringList({"The predefined hand range [UTG] already exist, overwrite?"}));
    pane.names = {QString("BTN"), QString("CO")};
    pane.Run(pane.Item("Open", "UTG"), 32813);  // No to BTN, then CO
    QCOMPARE(pane.prompts, QStringList(3, kRangePrompt));
    pane.hands.SetText(0, "");
    pane.Run(pane.Item("Top"), 32813, "Open");  // a folder's name is no range to overwrite
    QCOMPARE(pane.messages, QStringList({"The predefined hand range [Open] already exist"}));
    pane.Run(pane.Item("Top"), 32813, "Nothing");
    QStringList expected = kShown;
    expected[2] = "    UTG [AKs | 0.63%]";
    expected.insert(4, "    CO [AKs | 0.63%]");
    expected << "  Nothing [ | 0%]";
    QCOMPARE(pane.Shown(), expected);
    // The file keeps the new range right after the one it was saved from.
    expected.swapItemsAt(3, 4);
    QCOMPARE(pane.Written(), expected);
  }

  void saveAsksFirstAndKeepsTheComputedPercent() {
    Pane pane;
    pane.hands.SetText(0, "QQ");
    pane.Run(pane.Item("Top"), 32782);
    QCOMPARE(pane.questions, QStringList({"The predefined hand range [Top] already exist, overwrite?"}));
    QCOMPARE(pane.Written(), kShown);
    pane.answers = {true, true};
    pane.Run(pane.Item("Top"), 32782);
    QCOMPARE(pane.Shown().last(), QString("  Top [QQ | 0.95%]"));
    pane.hands.SetText(0, "");
    pane.Run(pane.Item("Open", "BTN"), 32782);
    QStringList expected = kShown;
    expected[3] = "    BTN [ | 0.00%]";
    expected[7] = "  Top [QQ | 0.95%]";
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
  }

  void renameRefusesEveryNameBesideIncludingItsOwn() {
    Pane pane;
    pane.Run(pane.Item("Open", "UTG"), 32789, "UTG");
    pane.Run(pane.Item("Open", "UTG"), 32789, "BTN");
    pane.Run(pane.Item("Deep"), 32788, "Empty");
    QCOMPARE(pane.messages, QStringList({"The item [UTG] already exist, old item is not renamed!",
                                         "The item [BTN] already exist, old item is not renamed!",
                                         "The item [Empty] already exist, old item is not renamed!"}));
    pane.Run(pane.Item("Open", "UTG"), 32789, "EP");
    pane.Run(pane.Item("Deep"), 32788, "Shallow");
    pane.Run(pane.Item("Top"), 32789);  // Cancel
    QCOMPARE(pane.prompts, QStringList(6, kRangePrompt));
    QStringList expected = kShown;
    expected[2] = "    EP [AA,KK | 1.90%]";
    expected[4] = "  Shallow";
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
  }

  void deleteAsksAndTakesEverythingBelow() {
    Pane pane;
    pane.Run(pane.Item("Open"), 32783);
    QCOMPARE(pane.questions, QStringList({"Are you sure to delete?"}));
    QCOMPARE(pane.Shown(), kShown);
    pane.answers = {true, true};
    pane.Run(pane.Item("Open"), 32783);
    pane.Run(pane.Item("Top"), 32784);
    const QStringList expected = {"User-defined-ranges", "  Deep", "    Inner", "  Empty"};
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
  }

  void rangesShowTheirTextsWhenFirstOpened() {
    Pane pane(kLibrary, false);
    // Held by identity: the range stays itself through the move below.
    const QPersistentModelIndex btn = pane.Item("Open", "BTN");
    QVERIFY(!pane.Tree()->isExpanded(btn));
    QVERIFY(pane.model.hasChildren(btn));
    // Unopened, a range drags, saves, moves and takes a new text as an opened one does.
    QCOMPARE(pane.Tree()->dragText(btn), QString("AKs"));
    pane.saveFile = pane.dir.filePath("outline.txt");
    pane.view->RunCommand(32799);
    QCOMPARE(FileBytes(pane.saveFile),
             QByteArray("User-defined-ranges|2\r\n\tOpen|10\r\n\t\tUTG|20\r\n\t\t\tAA,KK|21\r\n\t\t\t1.90%|22\r\n"
                        "\t\tBTN|20\r\n\t\t\tAKs|21\r\n\t\t\t0.63%|22\r\n\tDeep|10\r\n\t\tInner|10\r\n\tEmpty|10\r\n"
                        "\tTop|20\r\n\t\tAA|21\r\n\t\t0.95%|22\r\n"));
    pane.Run(btn, cmd::ID_MOVE_UP);
    QCOMPARE(pane.Written()[2], QString("    BTN [AKs | 0.63%]"));
    pane.hands.SetText(0, "KK");
    pane.answers = {true};
    pane.Run(btn, cmd::ID_SAVE_RANGE);
    QCOMPARE(pane.Tree()->dragText(btn), QString("KK"));
    QVERIFY(!pane.Tree()->isExpanded(btn));

    // Opened with the keyboard, it shows its texts below it.
    pane.Tree()->expand(pane.Item("Open"));
    pane.Tree()->setFocus();
    pane.Tree()->setCurrentIndex(btn);
    QTest::keyClick(pane.Tree(), Qt::Key_Right);
    QVERIFY(pane.Tree()->isExpanded(btn));
    QCOMPARE(pane.model.rowCount(btn), 2);
    QCOMPARE(Child(btn, 0).data().toString(), QString("KK"));
    QCOMPARE(CViewTree::Code(Child(btn, 1)), 22);
    QCOMPARE(pane.Tree()->dragText(Child(btn, 1)), QString("KK"));
    QCOMPARE(pane.Written()[2], QString("    BTN [KK | ") + Child(btn, 1).data().toString() + "]");

    // Opened by a click on its arrow.
    const QModelIndex utg = pane.Item("Open", "UTG");
    const QRect row = pane.Tree()->visualRect(utg);
    QTest::mouseClick(pane.Tree()->viewport(), Qt::LeftButton, {},
                      QPoint(row.left() - pane.Tree()->indentation() / 2, row.center().y()));
    QVERIFY(pane.Tree()->isExpanded(utg));
    QCOMPARE(Child(utg, 0).data().toString(), QString("AA,KK"));
  }

  void moveKeepsExpansionAndSelection() {
    Pane pane;
    pane.Tree()->expand(pane.Item("Open", "BTN"));
    pane.Tree()->collapse(pane.Item("Open", "UTG"));
    pane.Tree()->setCurrentIndex(pane.Item("Open", "BTN"));
    pane.view->ToolBar()->Action(32793)->trigger();
    QCOMPARE(pane.Tree()->currentIndex().data().toString(), QString("BTN"));
    QVERIFY(pane.Tree()->isExpanded(pane.Item("Open", "BTN")));
    QVERIFY(!pane.Tree()->isExpanded(pane.Item("Open", "UTG")));
    pane.Run(pane.Item("Open", "BTN"), 32793);  // already first
    pane.Run(pane.Item("Top"), 32792);          // already last
    pane.Run(pane.Item("Open"), 32792);         // a folder: off
    QStringList expected = kShown;
    expected.swapItemsAt(2, 3);
    QCOMPARE(pane.Shown(), expected);
    QCOMPARE(pane.Written(), expected);
    pane.Run(pane.Item("Open", "BTN"), 32792);
    QCOMPARE(pane.Written(), kShown);
    QCOMPARE(pane.Shown(), kShown);
  }

  void editsAfterAnInsideMoveFailAndLeaveTheTree() {
    Pane pane;
    // What the tree's own drag does to a range dropped into another folder.
    const QPersistentModelIndex btn = pane.Item("Open", "BTN");
    std::unique_ptr<QMimeData> dragged(pane.model.mimeData({btn}));
    QVERIFY(pane.model.dropMimeData(dragged.get(), Qt::MoveAction, -1, 0, pane.Item("Empty")));
    QCOMPARE(btn.parent(), pane.Item("Empty"));
    QVERIFY(!(pane.model.flags(btn) & Qt::ItemIsDropEnabled));  // nothing lands inside a range
    const QStringList moved = pane.Shown();
    pane.answers = {true, true};
    pane.Run(btn, 32789, "Renamed");
    pane.Run(btn, 32784);
    pane.Run(btn, 32782);
    QCOMPARE(pane.messages.size(), 3);
    QCOMPARE(pane.Shown(), moved);
    QCOMPARE(pane.Written(), kShown);
  }

  void outlineSaveAndLoad() {
    Pane pane;
    pane.saveFile = pane.dir.filePath("outline.xml");
    pane.view->ToolBar()->Action(32799)->trigger();
    QCOMPARE(FileBytes(pane.saveFile),
             QByteArray("User-defined-ranges|2\r\n\tOpen|10\r\n\t\tUTG|20\r\n\t\t\tAA,KK|21\r\n\t\t\t1.90%|22\r\n"
                        "\t\tBTN|20\r\n\t\t\tAKs|21\r\n\t\t\t0.63%|22\r\n\tDeep|10\r\n\t\tInner|10\r\n\tEmpty|10\r\n"
                        "\tTop|20\r\n\t\tAA|21\r\n\t\t0.95%|22\r\n"));

    // Two tabs of base depth, a name with a bar, a line without one.
    const QString two = pane.dir.filePath("two.xml");
    QFile file(two);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\t\tUser-defined-ranges|2\r\n\t\t\tA|B|20\r\n\t\t\t\tKK|21\r\n\t\t\t\t0.95%|22\r\n\t\t\t10\r\n");
    file.close();
    pane.view->SetUserRangePath("/somewhere/UserRanges.xml");
    pane.openFile = two;
    pane.view->ToolBar()->Action(32800)->trigger();
    QCOMPARE(pane.openAsked, QString("/somewhere/UserRanges.xml"));
    QCOMPARE(pane.stored, QStringList({two}));
    QCOMPARE(pane.view->UserRangePath(), two);
    QCOMPARE(pane.Shown(), QStringList({"User-defined-ranges", "  A|B [KK | 0.95%]", "  "}));
    QCOMPARE(CViewTree::Image(pane.ItemAt({"User-defined-ranges", ""})), 2);
    pane.view->RunCommand(32799);
    QCOMPARE(FileBytes(pane.saveFile),
             QByteArray("User-defined-ranges|2\r\n\tA|B|20\r\n\t\tKK|21\r\n\t\t0.95%|22\r\n\t|10\r\n"));

    pane.openFile = pane.dir.filePath("gone.xml");
    pane.view->RunCommand(32800);
    QCOMPARE(pane.messages, QStringList({"File opening Error, possible it doesn't exist"}));
    QCOMPARE(pane.model.rowCount(), 0);
    QCOMPARE(pane.stored.size(), 1);
    pane.view->RunCommand(32799);  // an empty tree, an empty file
    QCOMPARE(FileBytes(pane.saveFile), QByteArray());

    QVERIFY(pane.view->LoadOutlineFile(two));  // the start-up load keeps no path
    QCOMPARE(pane.Shown().size(), 3);
    QCOMPARE(pane.stored.size(), 1);
    pane.saveFile = pane.dir.filePath("missing/outline.xml");
    pane.view->RunCommand(32799);
    QCOMPARE(pane.messages.size(), 2);
    QVERIFY(pane.messages.last().contains(pane.saveFile));
  }

  void openHandRangeNamesTheSelectedItem() {
    Pane pane;
    QSignalSpy spy(pane.view.get(), &CRangeView::openHandRangeRequested);
    pane.view->RunCommand(32787);
    pane.Run(pane.Item("Open", "UTG"), 32787);
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy[0][0].toString(), QString("Hand Range (UTG)"));
  }

  void nameBoxStoresOnOkOnly() {
    QString name;
    CDlgAddItem dialog(name);
    QCOMPARE(dialog.windowTitle(), QString("Ferrox6Plus"));
    auto* prompt = dialog.findChild<QLineEdit*>("1347");
    QVERIFY(prompt && prompt->isReadOnly());
    QCOMPARE(prompt->text(), QString::fromUtf8("\xD0\x95nter the name:"));
    dialog.SetPrompt(kRangePrompt);
    auto* input = dialog.findChild<QLineEdit*>("1344");
    QVERIFY(input);
    QCOMPARE(input->accessibleName(), kRangePrompt);
    QTest::keyClicks(input, "Cut");
    dialog.CancelButton()->click();
    QVERIFY(name.isEmpty());
    dialog.OkButton()->click();
    QCOMPARE(name, QString("Cut"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
  }
};

QTEST_MAIN(RangeViewTest)
#include "RangeViewTest.moc"
