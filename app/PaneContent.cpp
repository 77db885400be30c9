#include "app/PaneContent.h"

#include <QApplication>
#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QWidget>

#include "app/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "app/TimedMessage.h"
#include "views/CardsView.h"
#include "views/EvaluateView.h"
#include "views/HandsView.h"
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

QWidget* Placeholder(const char* caption, QWidget* parent) {
  auto* content = new QWidget(parent);
  content->setObjectName(QString(caption) + "View");
  content->setMinimumSize(120, 80);
  return content;
}

}  // namespace

QWidget* PaneContent(CFerroxApp& app, CMainFrame& frame, int paneId, QWidget* parent) {
  switch (paneId) {
    case ID_VIEW_CARDSVIEW: return CardsPane(app, parent);
    case ID_VIEW_CLASSVIEW: return Placeholder("Tree", parent);
    case ID_VIEW_FILEVIEW: return HandsPane(app, frame, parent);
    case ID_VIEW_EVALUATIONVIEW: return EvaluationPane(app, frame, parent);
    case ID_VIEW_RANGEVIEW: return Placeholder("Range", parent);
    case ID_HEATMAP_VIEW: return Placeholder("Heatmap", parent);
    case ID_HOTNESS_VIEW: return Placeholder("Hotness", parent);
    default: return Placeholder("Pane", parent);
  }
}

}  // namespace ferrox
