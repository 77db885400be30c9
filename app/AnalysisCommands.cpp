// The frame's commands for the analysis views: the heatmap's export and singular rows, and
// the equity chart's document window.
#include <QAction>
#include <QDockWidget>

#include "app/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "views/HeatmapView.h"

namespace ferrox {

using namespace cmd;

CHeatmapView* CMainFrame::HeatmapView() const {
  const auto it = panes_.find(ID_HEATMAP_VIEW);
  return it == panes_.end() ? nullptr : qobject_cast<CHeatmapView*>(it->second->widget());
}

void CMainFrame::ConnectAnalysisCommands() {
  connect(actions_[ID_HEATMAP_SAVE], &QAction::triggered, this, [this] {
    if (CHeatmapView* view = HeatmapView()) view->Save(QString::fromStdString(app_.folders().programDir.string()));
  });
  connect(actions_[ID_SHOWSINGULAR], &QAction::triggered, this, [this] {
    if (CHeatmapView* view = HeatmapView()) view->ShowSingular(true);
  });
  connect(actions_[ID_HIDESINGULAR], &QAction::triggered, this, [this] {
    if (CHeatmapView* view = HeatmapView()) view->ShowSingular(false);
  });
}

}  // namespace ferrox
