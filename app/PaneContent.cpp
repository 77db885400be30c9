#include "app/PaneContent.h"

#include <QApplication>
#include <QColor>
#include <QDockWidget>
#include <QMessageBox>
#include <QSettings>
#include <QString>
#include <QWidget>

#include "views/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "app/RangeLibraryPanes.h"
#include "app/TimedMessage.h"
#include "engine/Heatmap.h"
#include "engine/RequestValidation.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "views/CardsView.h"
#include "views/EvaluateView.h"
#include "views/HandsView.h"
#include "views/HeatmapView.h"
#include "views/HotnessView.h"
#include "widgets/ColourRef.h"

namespace ferrox {
namespace {

using namespace cmd;

constexpr int kRequestBoxMs = 10'000;  // "Wrong ranges" and "Wrong dead cards" close by themselves

QWidget* CardsPane(CFerroxApp& app, QWidget* parent) {
  auto* view = new CCardsView(parent);
  view->SetDocument(&app.Calculator());
  PaneSettings* settings = &app.Panes();
  const auto paint = [view, settings] { view->SetBackground(widgets::ColourFromRef(static_cast<uint32_t>(settings->Background()))); };
  QObject::connect(settings, &PaneSettings::backgroundChanged, view, paint);
  paint();
  return view;
}

QWidget* HandsPane(CFerroxApp& app, CMainFrame& frame, QWidget* parent) {
  auto* view = new CHandsView(&app.Hands(), &app.Calculator(), &app.Panes(), parent);
  view->setObjectName("CHandsView");
  QObject::connect(view, &CHandsView::outputLines, &frame, [&frame](const QStringList& lines) {
    for (const QString& line : lines) frame.AppendOutputLine(line);
  });
  QObject::connect(view, &CHandsView::showDocument, &frame, &CMainFrame::ShowRangeEditor);
  view->categoryLabel = [&app, &frame] { return RangeCategoryLabel(app, frame); };
  return view;
}

QWidget* EvaluationPane(CFerroxApp& app, CMainFrame& frame, QWidget* parent) {
  auto* view = new CEvaluateView(&app.Hands(), &app.Panes(), parent);
  view->showMessage = [view, &frame](const QString& text, const QString& caption, bool timed) {
    if (timed) frame.ShowTimedMessage(view, text, caption, kMbOk | kMbIconInformation, 0, kRequestBoxMs);
    else QMessageBox::warning(view, QApplication::applicationName(), text);
  };
  view->showNotice = [view](const QString& text) {
    QMessageBox::information(view, QApplication::applicationName(), text);
  };
  QObject::connect(view, &CEvaluateView::outputLine, &frame, &CMainFrame::AppendOutputLine);
  return view;
}

QWidget* HotnessPane(CFerroxApp& app, QWidget* parent) {
  QSettings* store = &app.settings().Store();
  return new CHotnessView(CHotnessView::HeroColumnWidths(store), CHotnessView::Op1ColumnWidths(store), parent);
}

QWidget* HeatmapPane(CFerroxApp& app, CMainFrame& frame, QWidget* parent) {
  auto* view = new CHeatmapView(&app.Panes(), CHeatmapView::MakeColumnWidths(&app.settings().Store()), parent);
  view->showTimedMessage = [view, &frame](const QString& text, const QString& caption, int ms) {
    frame.ShowTimedMessage(view, text, caption, kMbYesNo | kMbIconInformation, 0, ms);
  };
  HandsModel* hands = &app.Hands();
  view->currentOp1Text = [hands] { return hands->Text(1); };
  return view;
}

// The Hands pane asked for the heatmap: it is computed only preflop, against Op1 alone,
// with no dead cards; otherwise nothing happens.
void RequestHeatmap(CFerroxApp& app, CHeatmapView& view) {
  std::array<std::wstring, 7> texts;
  for (int i = 0; i < 7; ++i) texts[i] = app.Hands().Text(i).toStdWString();
  const int board = static_cast<int>(app.Calculator().Board().size());
  // Dead cards typed but not yet read by an evaluation count as well.
  const int dead = static_cast<int>(app.Calculator().Dead().size() + ReadDeadCards(texts[kDeadTextSlot]).size());
  if (!HeatmapApplies(board, texts, dead)) return;
  view.Start(app.Hands().Range(1), app.Hands().Text(1));
}

}  // namespace

QWidget* PaneContent(CFerroxApp& app, CMainFrame& frame, int paneId, QWidget* parent) {
  switch (paneId) {
    case ID_VIEW_CARDSVIEW: return CardsPane(app, parent);
    case ID_VIEW_CLASSVIEW: return ClassPane(app, frame, parent);
    case ID_VIEW_FILEVIEW: return HandsPane(app, frame, parent);
    case ID_VIEW_EVALUATIONVIEW: return EvaluationPane(app, frame, parent);
    case ID_VIEW_RANGEVIEW: return RangePane(app, frame, parent);
    case ID_HEATMAP_VIEW: return HeatmapPane(app, frame, parent);
    case ID_HOTNESS_VIEW: return HotnessPane(app, parent);
    default: return nullptr;
  }
}

namespace {

template <class View>
View* PaneView(const std::map<int, QDockWidget*>& panes, int id) {
  const auto it = panes.find(id);
  return it == panes.end() ? nullptr : qobject_cast<View*>(it->second->widget());
}

}  // namespace

void ConnectAnalysisPanes(CFerroxApp& app, const std::map<int, QDockWidget*>& panes) {
  auto* hands = PaneView<CHandsView>(panes, ID_VIEW_FILEVIEW);
  auto* heatmap = PaneView<CHeatmapView>(panes, ID_HEATMAP_VIEW);
  if (hands && heatmap)
    QObject::connect(hands, &CHandsView::heatmapRequested, heatmap, [&app, heatmap] { RequestHeatmap(app, *heatmap); });
  auto* evaluation = PaneView<CEvaluateView>(panes, ID_VIEW_EVALUATIONVIEW);
  auto* hotness = PaneView<CHotnessView>(panes, ID_HOTNESS_VIEW);
  if (evaluation && hotness) {
    QObject::connect(evaluation, &CEvaluateView::hotnessReady, hotness, &CHotnessView::ShowResult);
    QObject::connect(hotness, &CHotnessView::captionChanged, panes.at(ID_HOTNESS_VIEW), &QDockWidget::setWindowTitle);
  }
}

void SavePaneColumnWidths(const std::map<int, QDockWidget*>& panes) {
  if (auto* hotness = PaneView<CHotnessView>(panes, ID_HOTNESS_VIEW)) hotness->SaveColumnWidths();
  if (auto* heatmap = PaneView<CHeatmapView>(panes, ID_HEATMAP_VIEW)) heatmap->SaveColumnWidths();
}

}  // namespace ferrox
