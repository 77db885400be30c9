// The frame's commands for the analysis views: the heatmap's export and singular rows, and
// the equity chart's document window.
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>

#include "views/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "app/TimedMessage.h"
#include "model/ChartDoc.h"
#include "views/ChartView.h"
#include "views/HeatmapView.h"
#include "widgets/ColourButton.h"
#include "widgets/ColourRef.h"

namespace ferrox {

using namespace cmd;

namespace {

constexpr int kRequestBoxMs = 10'000;

}  // namespace

CChartView* CMainFrame::ChartView() const {
  if (!mdi_) return nullptr;  // asked while the frame is still being built
  for (QMdiSubWindow* window : mdi_->subWindowList())
    if (auto* view = qobject_cast<CChartView*>(window->widget())) return view;
  return nullptr;
}

// One chart at most: later clicks bring it forward.
void CMainFrame::OnChartMakeView() {
  if (CChartView* existing = ChartView()) {
    mdi_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(existing->parentWidget()));
    return;
  }
  auto* document = new CChartDoc;
  auto* view = new CChartView(document, &app_.Hands(), &app_.Panes());
  document->setParent(view);
  view->setWindowTitle(QStringLiteral("Chart"));
  view->showMessage = [this, view](const QString& text, const QString& caption, bool timed) {
    if (timed) ShowTimedMessage(view, text, caption, kMbOk | kMbIconInformation, 0, kRequestBoxMs);
    else QMessageBox::warning(view, QApplication::applicationName(), text);
  };
  connect(view, &CChartView::outputLine, this, &CMainFrame::AppendOutputLine);
  connect(view, &CChartView::runFinished, this, [this] { UpdateCommandUi(); });
  QMdiSubWindow* window = mdi_->addSubWindow(view);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &QObject::destroyed, this, [this] { UpdateCommandUi(); });
  window->show();
  mdi_->setActiveSubWindow(window);
  UpdateCommandUi();
}

void CMainFrame::OnChartColour(int id) {
  CChartView* view = ChartView();
  if (!view) return;
  const uint32_t colour = widgets::RefFromColour(colourButtons_[id]->effectiveColour());
  if (id == ID_CHART_BG_COLOR) view->SetBackground(colour);
  else view->SetGrid(colour);
}

CHeatmapView* CMainFrame::HeatmapView() const {
  const auto it = panes_.find(ID_HEATMAP_VIEW);
  return it == panes_.end() ? nullptr : qobject_cast<CHeatmapView*>(it->second->widget());
}

void CMainFrame::ConnectAnalysisCommands() {
  connect(actions_[ID_CHART_VIEW], &QAction::triggered, this, &CMainFrame::OnChartMakeView);
  connect(actions_[ID_CHART_CLEAR], &QAction::triggered, this, [this] {
    if (CChartView* view = ChartView()) view->Clear();
  });
  connect(actions_[ID_CHART_RUN], &QAction::triggered, this, [this] {
    if (CChartView* view = ChartView()) view->Run();
    UpdateCommandUi();  // no second run while one runs
  });
  // A colour chosen in the ribbon triggers the button's action.
  for (int id : {ID_CHART_BG_COLOR, ID_CHART_GRID_COLOR})
    connect(actions_[id], &QAction::triggered, this, [this, id] { OnChartColour(id); });
  connect(actions_[ID_HEATMAP_SAVE], &QAction::triggered, this, [this] {
    if (CHeatmapView* view = HeatmapView()) view->Save(QString::fromStdString(app_.folders().workDir.string()));
  });
  connect(actions_[ID_SHOWSINGULAR], &QAction::triggered, this, [this] {
    if (CHeatmapView* view = HeatmapView()) view->ShowSingular(true);
  });
  connect(actions_[ID_HIDESINGULAR], &QAction::triggered, this, [this] {
    if (CHeatmapView* view = HeatmapView()) view->ShowSingular(false);
  });
}

}  // namespace ferrox
