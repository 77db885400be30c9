#include "app/MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "app/AppLooks.h"
#include "app/CaptionBar.h"
#include "views/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/HandSession.h"
#include "model/HandsModel.h"
#include "app/OrderingFileDialog.h"
#include "app/OutputWnd.h"
#include "app/TimedMessage.h"
#include "widgets/ButtonAccessible.h"
#include "widgets/ColourButton.h"
#include "widgets/ColourRef.h"
#include "widgets/RibbonBar.h"
#include "widgets/RibbonCategory.h"
#include "widgets/RibbonPanel.h"
#include "app/PaneContent.h"

namespace ferrox {

using namespace cmd;
using widgets::ColourButton;
using widgets::RibbonPanel;

namespace {

struct PaneSpec {
  int id;
  const char* caption;
  QSize size;
};

// Creation order of the panes, with their initial sizes.
constexpr PaneSpec kPanes[] = {
    {ID_VIEW_CLASSVIEW, "Tree", {200, 600}},     {ID_VIEW_CARDSVIEW, "Cards", {300, 300}},
    {ID_VIEW_FILEVIEW, "Hands", {300, 300}},     {ID_VIEW_EVALUATIONVIEW, "Evaluation", {800, 400}},
    {ID_VIEW_RANGEVIEW, "Range", {200, 600}},    {ID_HEATMAP_VIEW, "Heatmap", {400, 600}},
    {ID_HOTNESS_VIEW, "Hotness", {400, 600}},    {ID_VIEW_OUTPUTWND, "Output", {100, 100}},
};

}  // namespace

CMainFrame::CMainFrame(CFerroxApp& app) : app_(app) {
  setObjectName("MainFrame");
  widgets::InstallButtonAccessibility();
  chooseOrderingFile = [this](const QString& start) {
    const auto folder = app_.folders().OrderingFile(start.toStdString()).parent_path();
    return ChooseOrderingFile(this, QString::fromStdString(folder.string()));
  };
  BuildActions();
  BuildFileCommands();
  OnApplicationLook(app_.settings().applicationLook);
  mdi_ = new QMdiArea(this);
  mdi_->setViewMode(QMdiArea::TabbedView);
  mdi_->setTabsClosable(true);
  mdi_->setTabsMovable(true);
  mdi_->setDocumentMode(true);
  setCentralWidget(mdi_);
  BuildRibbon();
  BuildStatusBar();
  BuildPanes();
  DockPanes();
  ConnectCommands();
  UpdateCommandUi();
  resize(1400, 900);
}

CMainFrame::~CMainFrame() {
  // Panes and document windows hide while the window goes; their signals must not reach a
  // half-destroyed frame.
  for (auto& [id, pane] : panes_) disconnect(pane, nullptr, this, nullptr);
  // Nor the editors' documents, which go with their windows after the hand's session.
  disconnect(&app_.Hands(), nullptr, this, nullptr);
  if (!mdi_) return;
  disconnect(mdi_, nullptr, this, nullptr);
  // Document windows, also those closed but not yet deleted, go with the frame.
  for (QMdiSubWindow* window : mdi_->findChildren<QMdiSubWindow*>()) disconnect(window, nullptr, this, nullptr);
}

QAction* CMainFrame::MakeAction(int id, const QString& text, bool checkable) {
  auto* action = new QAction(text, this);
  action->setObjectName(QString::fromLatin1(FrameCommandName(id)));
  action->setData(id);
  action->setCheckable(checkable);
  actions_[id] = action;
  return action;
}

QAction* CMainFrame::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

QDockWidget* CMainFrame::Pane(int id) const {
  const auto it = panes_.find(id);
  return it == panes_.end() ? nullptr : it->second;
}

ColourButton* CMainFrame::ColourButtonOf(int id) const {
  const auto it = colourButtons_.find(id);
  return it == colourButtons_.end() ? nullptr : it->second;
}

void CMainFrame::BuildActions() {
  MakeAction(ID_APP_EXIT, "E&xit");
  MakeAction(ID_APP_ABOUT, "About")->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  MakeAction(ID_VIEW_STATUS_BAR, "Status Bar", true);
  MakeAction(ID_VIEW_CAPTION_BAR, "Caption Bar", true);
  MakeAction(ID_VIEW_OUTPUTWND, "Output Wnd", true);
  MakeAction(ID_VIEW_CARDSVIEW, "Cards", true);
  MakeAction(ID_VIEW_FILEVIEW, "Hands", true);
  MakeAction(ID_VIEW_EVALUATIONVIEW, "Evaluation", true);
  MakeAction(ID_VIEW_CLASSVIEW, "Tree", true);
  MakeAction(ID_VIEW_RANGEVIEW, "Range", true);
  MakeAction(ID_HEATMAP_VIEW, "Heatmap", true);
  MakeAction(ID_HOTNESS_VIEW, "Hotness", true);
  MakeAction(ID_CLEAR_ALL, "Clear All")->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
  MakeAction(ID_BACKGROUND_COLOR, "Background Color");
  MakeAction(ID_FONT_COLOR, "Font Color");
  MakeAction(ID_MODE, "Use    mode")->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
  MakeAction(ID_MODE_USE, "Use mode");
  MakeAction(ID_MODE_CREATE, "Create mode");
  MakeAction(ID_CHECK_6, "6+", true);
  MakeAction(ID_CHECK_CHINA, "Straight > Set", true);
  MakeAction(ID_BUTTON_FILE_SIXPLUS, "")->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  MakeAction(ID_BUTTON_FILE_CHINA, "")->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  MakeAction(ID_CHART_VIEW, "Make View")->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
  MakeAction(ID_CHART_CLEAR, "Clear")->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
  MakeAction(ID_CHART_RUN, "Run")->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  MakeAction(ID_CHART_BG_COLOR, "Background");
  MakeAction(ID_CHART_GRID_COLOR, "Grid");
  MakeAction(ID_HEATMAP_SAVE, "Save")->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
  MakeAction(ID_SHOWSINGULAR, "Show");
  MakeAction(ID_HIDESINGULAR, "Hide");
  MakeAction(ID_VIEW_COLORSPACE, "0%");
  MakeAction(ID_VIEW_COLORSPACE100, "100%");
  MakeAction(ID_HOTNESS_CALC, "Equity at next board card", true);
  MakeAction(ID_FILE_NEW, "&New")->setShortcut(QKeySequence("Ctrl+N"));
  MakeAction(ID_FILE_OPEN, "&Open")->setShortcut(QKeySequence("Ctrl+O"));
  MakeAction(ID_FILE_SAVE, "&Save")->setShortcut(QKeySequence("Ctrl+S"));
  MakeAction(ID_FILE_SAVE_AS, "Save &As...")->setShortcut(QKeySequence("Ctrl+Shift+S"));
  MakeAction(ID_EDIT_UNDO, "&Undo")->setShortcuts({QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")});
  MakeAction(ID_EDIT_REDO, "&Redo")->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  MakeAction(ID_EDIT_CUT, "Cu&t")->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
  MakeAction(ID_EDIT_COPY, "&Copy")->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")});
  MakeAction(ID_EDIT_PASTE, "&Paste")->setShortcuts({QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")});
  MakeAction(ID_NEXT_PANE, "Next pane")->setShortcut(QKeySequence("F6"));
  MakeAction(ID_PREV_PANE, "Previous pane")->setShortcut(QKeySequence("Shift+F6"));
  QAction* help = MakeAction(ID_HELP, "Help");
  help->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
  help->setShortcut(QKeySequence(Qt::Key_F1));
  addAction(help);  // F1 wherever the focus is, not only through the ribbon
  for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT, ID_EDIT_COPY,
                 ID_EDIT_PASTE, ID_NEXT_PANE, ID_PREV_PANE})
    addAction(actions_[id]);  // keyboard only
  auto* looks = new QActionGroup(this);
  const char* lookNames[] = {"Office 2007 (&Blue Style)", "Office 2007 (B&lack Style)", "Office 2007 (&Silver Style)",
                             "Office 2007 (&Aqua Style)", "Win&dows 7"};
  for (int id = kAppLookOffice2007Blue; id <= kAppLookWindows7; ++id)
    looks->addAction(MakeAction(id, lookNames[id - kAppLookOffice2007Blue], true));
}

QMenu* CMainFrame::BuildStyleMenu() {
  auto* menu = new QMenu(this);
  for (int id = kAppLookOffice2007Blue; id <= kAppLookWindows7; ++id) menu->addAction(actions_[id]);
  return menu;
}

void CMainFrame::BuildRibbon() {
  auto* top = new QWidget(this);
  auto* layout = new QVBoxLayout(top);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  ribbon_ = new widgets::RibbonBar(top);
  ribbon_->setObjectName("Ribbon");
  QMenu* appMenu = ribbon_->applicationMenu();
  FillFileMenu(appMenu);
  appMenu->addSeparator();
  appMenu->addAction(actions_[ID_APP_EXIT]);
  ribbon_->addRightMenu("Style", BuildStyleMenu());
  ribbon_->addRightAction(actions_[ID_APP_ABOUT]);
  ribbon_->addRightAction(actions_[ID_HELP]);
  BuildHomeCategory();
  BuildOtherCategories();
  caption_ = new CaptionBar(kMakerAddress, top);
  layout->addWidget(ribbon_);
  layout->addWidget(caption_);
  setMenuWidget(top);
}

void CMainFrame::BuildHomeCategory() {
  widgets::RibbonCategory* home = ribbon_->addCategory("Home");
  RibbonPanel* view = home->addPanel("View");
  for (int id : {ID_VIEW_STATUS_BAR, ID_VIEW_CAPTION_BAR, ID_VIEW_OUTPUTWND, ID_VIEW_CARDSVIEW, ID_VIEW_FILEVIEW,
                 ID_VIEW_EVALUATIONVIEW, ID_VIEW_CLASSVIEW, ID_VIEW_RANGEVIEW})
    view->addCheck(actions_[id]);
  view->addSeparator();
  view->addCheck(actions_[ID_HEATMAP_VIEW]);
  view->addCheck(actions_[ID_HOTNESS_VIEW]);

  RibbonPanel* settings = home->addPanel("Settings");
  settings->addLargeButton(actions_[ID_CLEAR_ALL]);
  AddColourButton(settings, ID_BACKGROUND_COLOR, false, 0xFFFFFF, app_.settings().background.committed);
  AddColourButton(settings, ID_FONT_COLOR, false, 0xFFFFFF, app_.settings().font.committed);

  RibbonPanel* ranges = home->addPanel("User-defined ranges");
  auto* modeMenu = new QMenu(this);
  modeMenu->addAction(actions_[ID_MODE_USE]);
  modeMenu->addAction(actions_[ID_MODE_CREATE]);
  ranges->addLargeMenuButton(actions_[ID_MODE], modeMenu);

  RibbonPanel* game = home->addPanel("Game type");
  game->addCheck(actions_[ID_CHECK_6]);
  game->addCheck(actions_[ID_CHECK_CHINA]);

  RibbonPanel* files = home->addPanel("Ordering files");
  files->addSmallButton(actions_[ID_BUTTON_FILE_SIXPLUS]);
  files->addSmallButton(actions_[ID_BUTTON_FILE_CHINA]);
}

void CMainFrame::BuildOtherCategories() {
  widgets::RibbonCategory* graph = ribbon_->addCategory("Equity Graph");
  RibbonPanel* chart = graph->addPanel("Graph");
  for (int id : {ID_CHART_VIEW, ID_CHART_CLEAR, ID_CHART_RUN}) chart->addLargeButton(actions_[id]);
  RibbonPanel* look = graph->addPanel("Appearance");
  AddColourButton(look, ID_CHART_BG_COLOR, true, 0x302D2D, 0x302D2D);
  AddColourButton(look, ID_CHART_GRID_COLOR, true, 0xFFFFFF, 0xFFFFFF);

  widgets::RibbonCategory* heatmap = ribbon_->addCategory("Heatmap");
  RibbonPanel* heatView = heatmap->addPanel("View");
  heatView->addCheck(actions_[ID_HEATMAP_VIEW]);
  heatView->addLargeButton(actions_[ID_HEATMAP_SAVE]);
  RibbonPanel* singular = heatmap->addPanel("Singular combinations");
  singular->addSmallButton(actions_[ID_SHOWSINGULAR]);
  singular->addSmallButton(actions_[ID_HIDESINGULAR]);
  RibbonPanel* play = heatmap->addPanel("Playability");
  AddColourButton(play, ID_VIEW_COLORSPACE, true, kDefaultHeatmapColour, app_.settings().heatmapColour);
  AddColourButton(play, ID_VIEW_COLORSPACE100, true, kDefaultHeatmapColour100, app_.settings().heatmapColour100);

  widgets::RibbonCategory* hotness = ribbon_->addCategory("Hotness");
  hotness->addPanel("View")->addCheck(actions_[ID_HOTNESS_CALC]);
}

void CMainFrame::AddColourButton(RibbonPanel* panel, int id, bool large, int automatic, int colour) {
  ColourButton* button = panel->addColourButton(actions_[id], large);
  button->setAutomaticColour(widgets::ColourFromRef(static_cast<uint32_t>(automatic)));
  button->setColour(widgets::ColourFromRef(static_cast<uint32_t>(colour)));
  colourButtons_[id] = button;
}

void CMainFrame::BuildStatusBar() {
  for (auto*& pane : statusPanes_) {
    pane = new QLabel(kMakerAddress, this);
    statusBar()->addPermanentWidget(pane);
  }
  statusPanes_[0]->setObjectName("StatusPane120");
  statusPanes_[1]->setObjectName("StatusPane121");
}

void CMainFrame::BuildPanes() {
  for (const PaneSpec& spec : kPanes) {
    auto* dock = new QDockWidget(spec.caption, this);
    dock->setObjectName(spec.caption);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    if (spec.id == ID_VIEW_OUTPUTWND) {
      output_ = new COutputWnd(dock);
      dock->setWidget(output_);
      connect(output_, &COutputWnd::hideRequested, dock, &QDockWidget::hide);
    } else {
      dock->setWidget(PaneContent(app_, *this, spec.id, dock));
    }
    panes_[spec.id] = dock;
  }
  ConnectAnalysisPanes(app_, panes_);
}

void CMainFrame::DockPanes() {
  addDockWidget(Qt::LeftDockWidgetArea, panes_[ID_VIEW_RANGEVIEW]);
  tabifyDockWidget(panes_[ID_VIEW_RANGEVIEW], panes_[ID_VIEW_CLASSVIEW]);
  panes_[ID_VIEW_CLASSVIEW]->hide();
  addDockWidget(Qt::BottomDockWidgetArea, panes_[ID_VIEW_FILEVIEW]);
  splitDockWidget(panes_[ID_VIEW_FILEVIEW], panes_[ID_VIEW_EVALUATIONVIEW], Qt::Horizontal);
  splitDockWidget(panes_[ID_VIEW_EVALUATIONVIEW], panes_[ID_VIEW_CARDSVIEW], Qt::Horizontal);
  addDockWidget(Qt::RightDockWidgetArea, panes_[ID_HEATMAP_VIEW]);
  tabifyDockWidget(panes_[ID_HEATMAP_VIEW], panes_[ID_HOTNESS_VIEW]);
  panes_[ID_HEATMAP_VIEW]->raise();
  // The Output pane's timing lines belong under the evaluation.
  splitDockWidget(panes_[ID_VIEW_EVALUATIONVIEW], panes_[ID_VIEW_OUTPUTWND], Qt::Vertical);
  panes_[ID_VIEW_OUTPUTWND]->hide();
  // Wide enough for the hotness pane's two grids side by side.
  resizeDocks({panes_[ID_VIEW_RANGEVIEW], panes_[ID_HEATMAP_VIEW]}, {200, 500}, Qt::Horizontal);
  resizeDocks({panes_[ID_VIEW_FILEVIEW], panes_[ID_VIEW_EVALUATIONVIEW], panes_[ID_VIEW_CARDSVIEW]}, {300, 800, 300},
              Qt::Horizontal);
  resizeDocks({panes_[ID_VIEW_FILEVIEW]}, {300}, Qt::Vertical);
}

void CMainFrame::ConnectCommands() {
  connect(actions_[ID_APP_EXIT], &QAction::triggered, this, &QWidget::close);
  connect(actions_[ID_APP_ABOUT], &QAction::triggered, this, &CMainFrame::OnAbout);
  connect(actions_[ID_HELP], &QAction::triggered, this, &CMainFrame::OnHelp);
  for (int id = kAppLookOffice2007Blue; id <= kAppLookWindows7; ++id)
    connect(actions_[id], &QAction::triggered, this, [this, id] { OnApplicationLook(id); });
  connect(actions_[ID_VIEW_STATUS_BAR], &QAction::triggered, this, [this](bool on) {
    statusBar()->setVisible(on);
    UpdateCommandUi();
  });
  connect(actions_[ID_VIEW_CAPTION_BAR], &QAction::triggered, this, [this](bool on) { ShowCaptionBar(on); });
  for (const PaneSpec& spec : kPanes) {
    const int id = spec.id;
    connect(actions_[id], &QAction::triggered, this, [this, id] { OnTogglePane(id); });
    connect(panes_[id], &QDockWidget::visibilityChanged, this, [this] { UpdateCommandUi(); });
  }
  for (int id : {ID_BACKGROUND_COLOR, ID_FONT_COLOR}) {
    connect(actions_[id], &QAction::triggered, this, [this, id] { OnColour(id); });
    connect(colourButtons_[id], &ColourButton::colourHighlighted, this, [this, id](const QColor& c) {
      OnColourPreview(id, c.isValid() ? static_cast<int>(widgets::RefFromColour(c)) : kNoColour);
    });
  }
  for (int id : {ID_VIEW_COLORSPACE, ID_VIEW_COLORSPACE100})
    connect(actions_[id], &QAction::triggered, this, [this, id] { OnColour(id); });
  connect(actions_[ID_CHECK_6], &QAction::triggered, this, &CMainFrame::OnGameType);
  connect(actions_[ID_CHECK_CHINA], &QAction::triggered, this, &CMainFrame::OnGameType);
  connect(actions_[ID_HOTNESS_CALC], &QAction::triggered, this, &CMainFrame::OnHotnessCalc);
  connect(actions_[ID_BUTTON_FILE_SIXPLUS], &QAction::triggered, this, [this] { OnOrderingFile(ID_BUTTON_FILE_SIXPLUS); });
  connect(actions_[ID_BUTTON_FILE_CHINA], &QAction::triggered, this, [this] { OnOrderingFile(ID_BUTTON_FILE_CHINA); });
  connect(actions_[ID_CLEAR_ALL], &QAction::triggered, this, &CMainFrame::OnClearAll);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnEditorActivated);
  connect(actions_[ID_MODE_CREATE], &QAction::triggered, this, &CMainFrame::OnCreateMode);
  connect(actions_[ID_MODE_USE], &QAction::triggered, this, &CMainFrame::OnUseMode);
  connect(caption_, &CaptionBar::goClicked, this, [] { QDesktopServices::openUrl(QUrl(kMakerAddress)); });
  connect(actions_[ID_NEXT_PANE], &QAction::triggered, this, [this] { OnNextPane(1); });
  connect(actions_[ID_PREV_PANE], &QAction::triggered, this, [this] { OnNextPane(-1); });
  connect(actions_[ID_EDIT_UNDO], &QAction::triggered, this, [this] { OnUndo(false); });
  connect(actions_[ID_EDIT_REDO], &QAction::triggered, this, [this] { OnUndo(true); });
  connect(actions_[ID_EDIT_CUT], &QAction::triggered, this, [this] { OnEdit("cut"); });
  connect(actions_[ID_EDIT_COPY], &QAction::triggered, this, [this] { OnEdit("copy"); });
  connect(actions_[ID_EDIT_PASTE], &QAction::triggered, this, [this] { OnEdit("paste"); });
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { setWindowTitle(DocumentTitle()); });
  ConnectAnalysisCommands();
}

void CMainFrame::SetAppTitle(const QString& title) {
  appTitle_ = title;
  setWindowTitle(DocumentTitle());
}

QString CMainFrame::DocumentTitle() const {
  // A hand kept in a file names the window, unless the chart is the document in front.
  if (hand_ && !hand_->File().isEmpty() && !ActiveChartView())
    return hand_->DisplayName() + QStringLiteral("[*] - ") + appTitle_;
  const QMdiSubWindow* active = mdi_ ? mdi_->activeSubWindow() : nullptr;
  if (!active || active->windowTitle().isEmpty()) return appTitle_;
  return active->windowTitle() + " - " + appTitle_;  // the document's name first
}

void CMainFrame::ShowCaptionBar(bool show) {
  caption_->setVisible(show);
  UpdateCommandUi();
}

void CMainFrame::AppendOutputLine(const QString& text) {
  if (output_) output_->AppendBuildLine(text);
}

int CMainFrame::ShowTimedMessage(QWidget* owner, const QString& text, const QString& caption, unsigned style,
                                 int language, int milliseconds) {
  return ferrox::ShowTimedMessage(owner, text, caption, style, language, milliseconds);
}

}  // namespace ferrox
