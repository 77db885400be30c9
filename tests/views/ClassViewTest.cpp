// The hand-rankings pane against a small rankings file: the tree, its menus, the file edits
// read back by a fresh model, what a selected ranking does to the Hands pane, and the
// "Clear range " button.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDomDocument>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <memory>
#include <optional>

#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "model/PredefinedRanges.h"
#include "model/RankingsModel.h"
#include "views/ClassView.h"
#include "views/CommandIds.h"
#include "views/FerroxView.h"
#include "views/RangeDragData.h"
#include "views/RangeSlider.h"
#include "views/ViewTree.h"

using namespace ferrox;

namespace {

const QByteArray kSample =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Ranges>\n"
    "<Equilab><Folder>Top</Folder>\n"
    "<Range><RangeName>Top 5%</RangeName><Value>TT+,AKs</Value><Percent>5.40</Percent></Range>\n"
    "</Equilab>\n<Corvane></Corvane>\n<User-defined-ranges>\n"
    "<Folder>Open</Folder>\n"
    "<Range><RangeName>UTG</RangeName><Value>88+,AKs</Value><Percent>7.30</Percent></Range>\n"
    "<Range><RangeName>BTN</RangeName><Value>66+</Value><Percent>8.57</Percent></Range>\n"
    "<Folder>Defend</Folder>\n"
    "<Range><RangeName>Call</RangeName><Value>QQ+,AK</Value><Percent>5.40</Percent></Range>\n"
    "</User-defined-ranges>\n</Ranges>\n";

QStringList Texts(const QModelIndex& item) {
  QStringList texts;
  for (int i = 0; i < item.model()->rowCount(item); ++i) texts << item.model()->index(i, 0, item).data().toString();
  return texts;
}

QModelIndex Child(const QModelIndex& parent, const QString& text) {
  for (int i = 0; parent.isValid() && i < parent.model()->rowCount(parent); ++i)
    if (parent.model()->index(i, 0, parent).data().toString() == text) return parent.model()->index(i, 0, parent);
  return {};
}

QString OwnText(const QDomElement& element) {
  for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling())
    if (child.isText()) return child.toText().data();
  return {};
}

// "Name:text" of the folders and rankings below "User-defined-ranges", in document order.
void CollectElements(const QDomElement& parent, QStringList& elements) {
  for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
    if (e.tagName() == "Range") {
      for (const char* part : {"RangeName", "Value", "Percent"})
        elements << QString(part) + ":" + e.firstChildElement(part).text();
      continue;
    }
    elements << e.tagName() + ":" + OwnText(e);
    CollectElements(e, elements);
  }
}

QStringList UserElements(const QString& path) {
  QFile file(path);
  QDomDocument document;
  if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) return {"unreadable"};
  QStringList elements;
  CollectElements(document.documentElement().firstChildElement("User-defined-ranges"), elements);
  return elements;
}

quillet::Spec RangeOf(const PaneSettings& settings, const QString& text) {
  quillet::Spec spec;
  settings.Parser().ParseRange(text.toStdWString(), spec);
  return spec;
}

// A pane over a rankings file of its own, whose dialogs answer from fields.
struct Pane {
  QTemporaryDir dir;
  QString path = dir.filePath("Range6Plus.xml");
  PaneSettings settings;
  CalculatorDocument cards;
  HandsModel hands{cards, settings};
  std::unique_ptr<PredefinedRanges> ranges;
  std::unique_ptr<RankingsModel> model;
  std::unique_ptr<CClassView> view;
  QStringList prompts, questions, messages;
  std::optional<QString> answer;
  bool yes = true;
  QList<int> applied;
  CFerroxDoc* editor = nullptr;

  explicit Pane(EditMode mode = EditMode::Create, const QByteArray& xml = kSample) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(xml);
    file.close();
    settings.SetMode(mode);
    ranges = std::make_unique<PredefinedRanges>(path);
    ranges->BuildRankingTables(settings.Parser());
    model = std::make_unique<RankingsModel>(*ranges);
    view = std::make_unique<CClassView>(model.get(), &hands, &settings);
    view->promptName = [this](const QString& prompt) { prompts << prompt; return answer; };
    view->ask = [this](const QString& question) { questions << question; return yes; };
    view->showMessage = [this](const QString& message) { messages << message; };
    view->applyRow = [this](int row) { applied << row; };
    view->activeEditor = [this] { return editor; };
  }
  QModelIndex User() const { return model->UserIndex(); }
  QModelIndex Folder(const QString& name) const { return Child(User(), name); }
  QModelIndex Ranking(const QString& folder, const QString& name) const { return Child(Folder(folder), name); }
  void Select(const QModelIndex& item) { view->Tree()->setCurrentIndex(item); }
  // Selects the item and picks the command from its context menu.
  bool Run(const QModelIndex& item, int command) {
    Select(item);
    const std::unique_ptr<QMenu> menu = view->ContextMenu(item);
    QAction* action = menu ? menu->findChild<QAction*>(QString::number(command)) : nullptr;
    if (action) action->trigger();
    return action;
  }
  std::unique_ptr<PredefinedRanges> Reloaded() const {
    auto fresh = std::make_unique<PredefinedRanges>(path);
    fresh->BuildRankingTables(settings.Parser());
    return fresh;
  }
};

QStringList RankingNames(const PredefinedRanges& ranges, const QString& folder) {
  QStringList names;
  for (const FolderRanking& ranking : ranges.RankingsOf(folder.toStdWString())) names << QString::fromStdWString(ranking.range.name);
  return names;
}

QStringList Sorted(QStringList texts) {
  texts.sort();
  return texts;
}

// The tree shows what a fresh read of the file gives: its folders, each with its rankings.
void CheckInStep(const Pane& pane) {
  const auto fresh = pane.Reloaded();
  QStringList folders;
  for (const std::wstring& name : fresh->FolderNames()) folders << QString::fromStdWString(name);
  QCOMPARE(Sorted(Texts(pane.User())), Sorted(folders));
  for (const QString& folder : folders)
    QCOMPARE(Sorted(Texts(pane.Folder(folder))), Sorted(RankingNames(*fresh, folder)));
}

}  // namespace

class ClassViewTest : public QObject {
  Q_OBJECT

 private slots:
  void treeShowsCategoriesFoldersAndRankings() {
    Pane pane;
    CClassView& view = *pane.view;
    QCOMPARE(view.Tree()->objectName(), QString("2"));
    QCOMPARE(view.Tree()->TreeKind(), int(CViewTree::kRankingsTree));
    QCOMPARE(pane.model->rowCount(), 1);
    const QModelIndex root = pane.model->index(0, 0);
    QCOMPARE(root.data().toString(), QString("Hand Rankings"));
    QVERIFY(view.Tree()->Font(root).bold());
    QCOMPARE(Texts(root), QStringList({"Tavi Rankings", "User-defined Rankings"}));
    // Folders in the table's (name) order, each ranking below its own folder.
    QCOMPARE(Texts(pane.User()), QStringList({"Defend", "Open", "Top"}));
    QCOMPARE(Texts(pane.Folder("Open")), QStringList({"BTN", "UTG"}));
    QCOMPARE(Texts(pane.Folder("Top")), QStringList({"Top 5%"}));
    QCOMPARE(pane.model->rowCount(pane.model->TaviIndex()), 0);
    const QList<std::pair<QModelIndex, int>> images = {{root, 0},
                                                       {pane.model->TaviIndex(), 3},
                                                       {pane.User(), 3},
                                                       {pane.Folder("Defend"), 2},
                                                       {pane.Ranking("Defend", "Call"), 1}};
    for (const auto& [item, image] : images) QCOMPARE(CViewTree::Image(item), image);
    QCOMPARE(pane.model->CategoryOf(pane.model->TaviIndex()), std::optional<int>(0));
    QCOMPARE(pane.model->CategoryOf(pane.User()), std::optional<int>(2));
    QCOMPARE(view.ClearRangeAction()->text(), QString("Clear range "));
    QCOMPARE(view.findChild<QToolBar*>("171")->widgetForAction(view.ClearRangeAction())->accessibleName(), QString("Clear range"));
    QCOMPARE(view.Tree()->accessibleName(), QString("Hand Rankings"));
  }

  void menusOnlyInCreateModeAndByItem() {
    Pane pane;
    const auto menuOf = [&](const QModelIndex& item) {
      const std::unique_ptr<QMenu> menu = pane.view->ContextMenu(item);
      QStringList texts;
      if (!menu) return texts;
      texts << menu->objectName();
      for (QAction* action : menu->actions()) texts << action->objectName() + " " + action->text();
      return texts;
    };
    QCOMPARE(menuOf(pane.User()), QStringList({"205", "32810 Create folder"}));
    QCOMPARE(menuOf(pane.Folder("Open")), QStringList({"204", "32787 Open hand Range", "32782 Save",
                                                       "32788 Rename Folder", "32783 Delete Folder"}));
    QCOMPARE(menuOf(pane.Ranking("Open", "UTG")), QStringList({"203", "32789 Rename Range", "32784 Delete Range"}));
    QVERIFY(menuOf(pane.model->RootIndex()).isEmpty() && menuOf(pane.model->TaviIndex()).isEmpty());

    // A real right click selects the item first, then shows its menu.
    QStringList shown;
    pane.view->runMenu = [&](QMenu& menu, const QPoint&) { shown << menu.objectName(); };
    pane.view->resize(300, 400);
    pane.view->show();
    QWidget* viewport = pane.view->Tree()->viewport();
    const QPoint at = pane.view->Tree()->visualRect(pane.Folder("Defend")).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &click);
    QCOMPARE(shown, QStringList({"204"}));
    QCOMPARE(pane.view->Tree()->currentIndex(), pane.Folder("Defend"));

    pane.settings.SetMode(EditMode::Use);
    for (const QModelIndex& item : {pane.User(), pane.Folder("Open"), pane.Ranking("Open", "UTG")})
      QVERIFY(menuOf(item).isEmpty());
  }

  void createAndOpenFolder() {
    Pane pane;
    QSignalSpy opened(pane.view.get(), &CClassView::openHandRangeRequested);
    const QStringList before = UserElements(pane.path);
    QVERIFY(pane.Run(pane.User(), cmd::ID_CREATE_FOLDER));  // cancelled
    QCOMPARE(UserElements(pane.path), before);
    QCOMPARE(opened.count(), 0);
    pane.answer = "Blinds";
    QVERIFY(pane.Run(pane.User(), cmd::ID_CREATE_FOLDER));
    QCOMPARE(pane.prompts, QStringList({"Enter Folder Name", "Enter Folder Name"}));
    QCOMPARE(Texts(pane.User()).last(), QString("Blinds"));
    QCOMPARE(CViewTree::Image(pane.Folder("Blinds")), 2);
    QCOMPARE(UserElements(pane.path), before + QStringList({"Folder:Blinds"}));
    QVERIFY(pane.Reloaded()->IsFolder(L"Blinds"));
    CheckInStep(pane);
    QCOMPARE(opened.takeFirst().at(0).toString(), QString("Hand Range (Blinds)"));
    QVERIFY(pane.Run(pane.Folder("Open"), cmd::ID_OPEN_HAND_RANGE));
    QCOMPARE(opened.takeFirst().at(0).toString(), QString("Hand Range (Open)"));
  }

  void saveStoresTheEditorsRangeWithItsShare() {
    Pane pane;
    pane.answer = "Nuts";
    QVERIFY(pane.Run(pane.Folder("Defend"), cmd::ID_SAVE_RANGE));  // no editor
    QVERIFY(pane.prompts.isEmpty());
    CFerroxDoc editor(2);
    editor.SetRange(RangeOf(pane.settings, "AA,KK"), "AA,KK");  // 12 of 630: 1.904..%
    pane.editor = &editor;
    QVERIFY(pane.Run(pane.Folder("Defend"), cmd::ID_SAVE_RANGE));
    QCOMPARE(pane.prompts, QStringList({"Enter hand Range Name"}));
    QCOMPARE(Texts(pane.Folder("Defend")).last(), QString("Nuts"));
    QCOMPARE(CViewTree::Image(pane.Ranking("Defend", "Nuts")), 1);
    const QStringList written = UserElements(pane.path);
    const qsizetype at = written.indexOf("Folder:Defend");
    QCOMPARE(written.mid(at, 2), QStringList({"Folder:Defend", "RangeName:Nuts"}));
    QCOMPARE(written.at(at + 3), QString("Percent:1.90"));
    // The stored text reads back as the editor's range.
    const QString value = written.at(at + 2).mid(int(qstrlen("Value:")));
    QCOMPARE(RangeOf(pane.settings, value).combos(), editor.Range().combos());
    QCOMPARE(pane.Reloaded()->RangeText(kUserDefinedCategory, L"Defend", L"Nuts"), std::optional<std::wstring>(value.toStdWString()));
    CheckInStep(pane);
  }

  void aFolderNameWithABlankIsWrittenAgain() {
    Pane pane;
    CFerroxDoc editor(1);
    editor.SetRange(RangeOf(pane.settings, "AKs"), "AKs");
    pane.editor = &editor;
    pane.answer = "My Folder";
    QVERIFY(pane.Run(pane.User(), cmd::ID_CREATE_FOLDER));
    pane.answer = "Suited";
    QVERIFY(pane.Run(pane.Folder("My Folder"), cmd::ID_SAVE_RANGE));
    QCOMPARE(UserElements(pane.path).mid(11),
             QStringList({"Folder:My Folder", "Folder:My Folder", "RangeName:Suited", "Value:AKs", "Percent:0.63"}));
    QCOMPARE(Texts(pane.Folder("My Folder")), QStringList({"Suited"}));
    CheckInStep(pane);
  }

  void renameUsesTheFolderPromptForBothKinds() {
    Pane pane;
    pane.view->LinkSlot(2, pane.Ranking("Open", "UTG"));
    pane.answer = "Early";
    QVERIFY(pane.Run(pane.Ranking("Open", "UTG"), cmd::ID_RENAME_RANGE));
    pane.answer = "Opening";
    QVERIFY(pane.Run(pane.Folder("Open"), cmd::ID_RENAME_FOLDER));
    QCOMPARE(pane.prompts, QStringList({"Enter Folder Name", "Enter Folder Name"}));
    QCOMPARE(Texts(pane.Folder("Opening")), QStringList({"BTN", "Early"}));
    QCOMPARE(UserElements(pane.path).mid(0, 2), QStringList({"Folder:Opening", "RangeName:Early"}));
    QCOMPARE(RankingNames(*pane.Reloaded(), "Opening"), QStringList({"BTN", "Early"}));
    CheckInStep(pane);
    // The player's link follows the renames and survives a rebuild.
    pane.view->BuildRankingTables();
    QCOMPARE(pane.view->SlotItem(2), pane.Ranking("Opening", "Early"));
    pane.answer.reset();
    QVERIFY(pane.Run(pane.Folder("Opening"), cmd::ID_RENAME_FOLDER));
    QVERIFY(pane.Folder("Opening").isValid());
  }

  void deleteAsksAndClosesTheFoldersWindow() {
    Pane pane;
    QSignalSpy closed(pane.view.get(), &CClassView::closeHandRangeRequested);
    pane.yes = false;
    QVERIFY(pane.Run(pane.Folder("Defend"), cmd::ID_DELETE_FOLDER));
    QVERIFY(pane.Folder("Defend").isValid());
    QCOMPARE(closed.count(), 0);
    pane.yes = true;
    QVERIFY(pane.Run(pane.Ranking("Open", "BTN"), cmd::ID_DELETE_RANGE));
    QVERIFY(pane.Run(pane.Folder("Defend"), cmd::ID_DELETE_FOLDER));
    QCOMPARE(pane.questions, QStringList(3, "Are you sure to delete?"));
    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.at(0).at(0).toString(), QString("Hand Range (Defend)"));
    QVERIFY(!pane.Folder("Defend").isValid());
    QVERIFY(!pane.Ranking("Open", "BTN").isValid());
    const auto fresh = pane.Reloaded();
    QVERIFY(!fresh->IsFolder(L"Defend"));
    QVERIFY(!fresh->RangeText(kUserDefinedCategory, L"Open", L"BTN"));
    CheckInStep(pane);  // the deleted folder's rankings now follow "Open" in the file
    // Only the selection of BTN applied; the neighbours that became current did not.
    QCOMPARE(pane.applied, QList<int>({1}));
    QCOMPARE(pane.hands.Text(1), QString("66+"));
  }

  void aFileThatDidNotLoadRefusesEditsWithItsReason() {
    Pane pane(EditMode::Create, "<Ranges><User-defined-ranges><Folder>Open</Folder>");
    QVERIFY(!pane.ranges->Loaded());
    pane.answer = "New";
    QVERIFY(pane.Run(pane.User(), cmd::ID_CREATE_FOLDER));
    QCOMPARE(pane.messages.size(), 1);
    QVERIFY(!pane.messages.first().isEmpty());
    QCOMPARE(pane.messages.first(), QString::fromStdWString(pane.ranges->LastError()));
    QCOMPARE(pane.model->rowCount(pane.User()), 0);
  }

  void createModeAppliesARankingToOp1() {
    Pane pane;
    pane.Select(pane.Folder("Open"));
    QCOMPARE(pane.view->CurrentCategory(), 2);
    pane.Select(pane.model->TaviIndex());
    QCOMPARE(pane.view->CurrentCategory(), 0);
    QVERIFY(pane.applied.isEmpty());
    pane.Select(pane.Ranking("Open", "UTG"));
    QCOMPARE(pane.view->CurrentCategory(), 3);
    QCOMPARE(pane.view->LastSelectedName(), QString("UTG"));
    QCOMPARE(pane.hands.Text(1), QString("88+,AKs"));
    QCOMPARE(pane.applied, QList<int>({1}));
    QCOMPARE(pane.view->SlotItem(1), pane.Ranking("Open", "UTG"));
    // Activating Op1's editor shows its ranking again without applying it.
    pane.hands.SetText(1, "QQ");
    pane.Select(pane.Folder("Defend"));
    pane.view->SelectSlotItem(1);
    QCOMPARE(pane.view->Tree()->currentIndex(), pane.Ranking("Open", "UTG"));
    QCOMPARE(pane.hands.Text(1), QString("QQ"));
    QCOMPARE(pane.applied, QList<int>({1}));
  }

  void useModeGoesToTheSlotLinkedToTheFolderAndDragsOut() {
    Pane pane(EditMode::Use);
    pane.Select(pane.Ranking("Defend", "Call"));
    QVERIFY(pane.applied.isEmpty());
    QVERIFY(pane.hands.Text(1).isEmpty());
    pane.view->LinkSlot(4, pane.Ranking("Open", "BTN"));
    pane.view->LinkSlot(3, pane.Folder("Defend"));
    pane.view->LinkSlot(2, pane.Folder("Open"));
    pane.Select(pane.Ranking("Open", "UTG"));
    QCOMPARE(pane.applied, QList<int>({2}));
    QCOMPARE(pane.hands.Text(2), QString("88+,AKs"));
    QVERIFY(pane.hands.Text(4).isEmpty());
    pane.Select(pane.Ranking("Defend", "Call"));
    QCOMPARE(pane.applied, QList<int>({2, 3}));
    QCOMPARE(pane.hands.Text(3), QString("QQ+,AK"));
    pane.Select(pane.Ranking("Top", "Top 5%"));
    QCOMPARE(pane.applied, QList<int>({2, 3}));
    // Rankings drag out as ranges in use mode only.
    const std::unique_ptr<QMimeData> data(pane.view->Tree()->DragData(pane.Ranking("Defend", "Call")));
    QVERIFY(data);
    QCOMPARE(RangeDragText(data->data(kRangeMimeFormat)), QString("#range=QQ+,AK"));
    QVERIFY(!pane.view->Tree()->DragData(pane.Folder("Defend")));
    pane.settings.SetMode(EditMode::Create);
    QVERIFY(!pane.view->Tree()->DragData(pane.Ranking("Defend", "Call")));
  }

  void clearRangeEmptiesTheActiveEditor() {
    Pane pane;
    CFerroxDoc editor(2);
    editor.SetRange(RangeOf(pane.settings, "AA,KK,QQ"), "AA,KK,QQ");
    CFerroxView form(&editor, &pane.hands, &pane.settings);
    QCOMPARE(form.findChild<QDoubleSpinBox*>("1346")->text(), QString("2.9"));
    pane.view->show();
    QWidget* button = pane.view->findChild<QToolBar*>("171")->widgetForAction(pane.view->ClearRangeAction());
    QTest::mouseClick(button, Qt::LeftButton);  // no active editor
    QCOMPARE(editor.Count(), 18);
    pane.editor = &editor;
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(editor.Count(), 0);
    QCOMPARE(form.findChild<QDoubleSpinBox*>("1345")->text(), QString("0.0"));
    QCOMPARE(form.findChild<QDoubleSpinBox*>("1346")->text(), QString("0.0"));
    const CRangeSlider* slider = form.findChild<CRangeSlider*>("1324");
    QCOMPARE(slider->Left(), 0.0);
    QCOMPARE(slider->Right(), 0.0);
  }

  void treeTakesThePaneColours() {
    Pane pane;
    pane.settings.SetBackground(0x0000FF);
    pane.settings.SetFontColour(0xFF0000);
    QCOMPARE(pane.view->Tree()->palette().color(QPalette::Base), QColor(255, 0, 0));
    QCOMPARE(pane.view->Tree()->palette().color(QPalette::Text), QColor(0, 0, 255));
  }
};

QTEST_MAIN(ClassViewTest)
#include "ClassViewTest.moc"
