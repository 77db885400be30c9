// The main window's command handlers and the state of its commands.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMdiArea>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>

#include "app/AboutDialog.h"
#include "app/AppLooks.h"
#include "app/CaptionBar.h"
#include "views/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/HelpWindow.h"
#include "app/MainFrame.h"
#include "app/PaneContent.h"
#include "app/TerminationSignals.h"
#include "model/HandsModel.h"
#include "model/PredefinedRanges.h"
#include "views/ChartView.h"
#include "views/ClassView.h"
#include "views/HandsView.h"
#include "core/Orderings.h"
#include "core/WideText.h"
#include "quillet/Files.h"
#include "widgets/ColourButton.h"
#include "widgets/ColourRef.h"

namespace ferrox {

using namespace cmd;

namespace {

constexpr int kPaneIds[] = {ID_VIEW_CLASSVIEW, ID_VIEW_CARDSVIEW, ID_VIEW_FILEVIEW, ID_VIEW_EVALUATIONVIEW,
                            ID_VIEW_RANGEVIEW, ID_HEATMAP_VIEW,   ID_HOTNESS_VIEW,  ID_VIEW_OUTPUTWND};

}  // namespace

void CMainFrame::OnApplicationLook(int id) {
  if (id < kAppLookDefault || id > kAppLookWindows7) id = kAppLookWindows7;
  if (IsOffice2007Style(id)) office2007Style_ = id;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ApplyLook(LookFor(id, office2007Style_));
  QApplication::restoreOverrideCursor();
  app_.settings().applicationLook = id;
  app_.settings().WriteLook();
  if (repaintColourViews) repaintColourViews(id);
  UpdateCommandUi();
}

void CMainFrame::OnColour(int id) {
  const widgets::ColourButton* button = ColourButtonOf(id);
  const int colour = button ? static_cast<int>(widgets::RefFromColour(button->effectiveColour())) : kNoColour;
  AppSettings& s = app_.settings();
  switch (id) {
    case ID_BACKGROUND_COLOR: s.background.Choose(colour); break;
    case ID_FONT_COLOR: s.font.Choose(colour); break;
    case ID_VIEW_COLORSPACE:
    case ID_VIEW_COLORSPACE100: {
      if (colour == kNoColour) return;
      const bool hundred = id == ID_VIEW_COLORSPACE100;
      (hundred ? s.heatmapColour100 : s.heatmapColour) = colour;
      s.WriteHeatmapColour(hundred);
      break;
    }
    default: return;
  }
  app_.SyncPaneSettings();  // the panes paint from their own copy
  if (repaintColourViews) repaintColourViews(id);
  update();
}

void CMainFrame::OnColourPreview(int id, int colour) {
  if (id == ID_BACKGROUND_COLOR) app_.settings().background.Preview(colour);
  else if (id == ID_FONT_COLOR) app_.settings().font.Preview(colour);
  else return;
  app_.SyncPaneSettings();
  if (repaintColourViews) repaintColourViews(id);
}

void CMainFrame::OnTogglePane(int id) {
  QDockWidget* pane = Pane(id);
  if (!pane) return;
  pane->setVisible(!pane->isVisible());
  if (pane->isVisible()) pane->raise();
  UpdateCommandUi();
}

void CMainFrame::OnGameType() {
  quillet::Rules& rules = app_.settings().rules;
  rules = rules == quillet::kRulesStandard ? quillet::kRulesStraightBeatsSet : quillet::kRulesStandard;
  UpdateCommandUi();
}

void CMainFrame::OnHotnessCalc() {
  app_.settings().hotnessCalc = 1 - app_.settings().hotnessCalc;
  UpdateCommandUi();
}

void CMainFrame::OnOrderingFile(int id) {
  const quillet::Rules rules = id == ID_BUTTON_FILE_CHINA ? quillet::kRulesStraightBeatsSet : quillet::kRulesStandard;
  QString& current = app_.settings().OrderingFile(rules);
  const QString chosen = chooseOrderingFile(current);
  if (!chosen.isEmpty()) {
    const std::filesystem::path path = chosen.toStdString();
    const QString name = QString::fromStdWString(quillet::LastName(path.wstring()));
    quillet::Spec probe;
    if (ferrox::LoadOrdering(probe, path) == 0) {
      QMessageBox::warning(this, "Ordering file",
                           QString("%1 is not an ordering file: it must name each of the 81 hand classes once, "
                                   "best first. The ordering is unchanged.").arg(chosen));
    } else {
      // Only the name is kept; a file from elsewhere is copied where the name finds it.
      const auto target = app_.folders().workDir / name.toStdString();
      std::error_code ec;
      if (!std::filesystem::equivalent(path, app_.folders().OrderingFile(name.toStdString()), ec))
        std::filesystem::copy_file(path, target, std::filesystem::copy_options::overwrite_existing, ec);
      current = name;
      app_.LoadOrdering(rules, current);
      app_.settings().WriteOrderingFile(rules);
    }
  }
  UpdateCommandUi();
}

void CMainFrame::OnClearAll() {
  for (auto& [player, value] : app_.perPlayer) value = 0;
  app_.SyncPaneSettings();  // the mode decides which editors are cleared
  if (CHandsView* hands = HandsView()) hands->ClearAll();
  app_.Hands().ClearLinkedDocuments();
}

void CMainFrame::OnCreateMode() {
  app_.mode = 0;
  actions_[ID_MODE]->setText("Create mode");
  actions_[ID_MODE]->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  OnClearAll();
  mdi_->closeAllSubWindows();
}

void CMainFrame::OnUseMode() {
  actions_[ID_MODE]->setText("Use    mode");
  actions_[ID_MODE]->setIcon(style()->standardIcon(QStyle::SP_FileDialogListView));
  OnClearAll();
  mdi_->closeAllSubWindows();
  app_.mode = 1;
  app_.SyncPaneSettings();
  // The rankings are read again unless a folder was chosen last (its tables are current).
  QDockWidget* tree = Pane(ID_VIEW_CLASSVIEW);
  auto* rankings = tree ? qobject_cast<CClassView*>(tree->widget()) : nullptr;
  if (rankings && tree->isVisible() && !app_.Rankings().IsFolder(rankings->LastSelectedName().toStdWString()))
    rankings->BuildRankingTables();
}

void CMainFrame::OnAbout() {
  // The stored title, not the window's, which names the active document.
  AboutDialog about(app_.Title(), this);
  about.exec();
}

void CMainFrame::OnHelp() {
  // One help window, kept when closed: F1 brings it back where the reader left it.
  auto* help = findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!help) help = new HelpWindow(this);
  help->Present();
}

void CMainFrame::OnNextPane(int step) {
  std::vector<QDockWidget*> visible;
  for (int id : kPaneIds)
    if (panes_[id]->isVisible()) visible.push_back(panes_[id]);
  if (visible.empty()) return;
  int at = -1;
  for (int i = 0; i < static_cast<int>(visible.size()); ++i)
    if (visible[i]->isAncestorOf(QApplication::focusWidget())) at = i;
  const int n = static_cast<int>(visible.size());
  QDockWidget* next = visible[((at < 0 ? (step > 0 ? -1 : 0) : at) + step + n) % n];
  next->raise();
  next->widget()->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::OnEdit(const char* slot) {
  // Cut, copy and paste go to the text box that has the focus.
  QWidget* focus = QApplication::focusWidget();
  if (focus && focus->metaObject()->indexOfMethod(QMetaObject::normalizedSignature((std::string(slot) + "()").c_str())) >= 0)
    QMetaObject::invokeMethod(focus, slot);
}

void CMainFrame::UpdateCommandUi() {
  app_.SyncPaneSettings();
  const AppSettings& s = app_.settings();
  actions_[ID_CHECK_6]->setChecked(s.rules == quillet::kRulesStandard);
  actions_[ID_CHECK_CHINA]->setChecked(s.rules == quillet::kRulesStraightBeatsSet);
  actions_[ID_HOTNESS_CALC]->setChecked(s.hotnessCalc != 0);
  for (int id : kPaneIds) actions_[id]->setChecked(panes_.count(id) && !panes_[id]->isHidden());
  actions_[ID_VIEW_STATUS_BAR]->setChecked(!statusBar()->isHidden());
  actions_[ID_VIEW_CAPTION_BAR]->setChecked(caption_ && !caption_->isHidden());
  for (int id = kAppLookOffice2007Blue; id <= kAppLookWindows7; ++id)
    actions_[id]->setChecked(id == s.applicationLook);
  actions_[ID_BUTTON_FILE_SIXPLUS]->setText(app_.OrderingDisplayName(quillet::kRulesStandard));
  actions_[ID_BUTTON_FILE_CHINA]->setText(app_.OrderingDisplayName(quillet::kRulesStraightBeatsSet));
  const CChartView* chart = ChartView();
  actions_[ID_CHART_RUN]->setEnabled(chart && !chart->IsRunning());
  if (hand_) ShowHandState();
}

void CMainFrame::RestoreWorkspace() {
  QSettings& store = app_.settings().Store();
  const bool restored = restoreGeometry(store.value("Workspace/Geometry").toByteArray());
  restoreState(store.value("Workspace/State").toByteArray());
  FitToScreen(!restored);
  UpdateCommandUi();
}

void CMainFrame::FitToScreen(bool firstStart) {
  // A window kept on a larger screen must not come back with its edges off this one; a
  // first start takes the whole screen, which the range editors need beside the panes.
  if (!screen() || isMaximized() || isFullScreen()) return;
  const QRect available = screen()->availableGeometry();
  const QSize frame = frameGeometry().size() - geometry().size();
  resize(firstStart ? available.size() - frame : size().boundedTo(available.size() - frame));
  const QSize outer = size() + frame;
  const int x = std::clamp(frameGeometry().x(), available.left(), available.right() + 1 - outer.width());
  const int y = std::clamp(frameGeometry().y(), available.top(), available.bottom() + 1 - outer.height());
  move(firstStart ? available.topLeft() : QPoint(x, y));
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (std::exchange(shown_, true)) return;
  FitToScreen(false);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A termination signal closes without asking: nobody may be there to answer.
  if (!property(kTerminating).toBool() && !MaybeSaveHand()) {
    event->ignore();
    return;
  }
  QSettings& store = app_.settings().Store();
  store.setValue("Workspace/Geometry", saveGeometry());
  store.setValue("Workspace/State", saveState());
  SavePaneColumnWidths(panes_);
  app_.settings().WriteAtShutdown();
  event->accept();
}

}  // namespace ferrox
