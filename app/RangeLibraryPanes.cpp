#include "app/RangeLibraryPanes.h"

#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QMessageBox>

#include "views/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "core/EchoedText.h"
#include "core/TextFileProblem.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/PredefinedRanges.h"
#include "model/RankingsModel.h"
#include "model/UserLibrary.h"
#include "model/UserLibraryModel.h"
#include "quillet/Files.h"
#include "views/ClassView.h"
#include "views/HandsView.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"

namespace ferrox {
namespace {

template <class View>
View* PaneOf(const CMainFrame& frame, int id) {
  QDockWidget* pane = frame.Pane(id);
  return pane ? qobject_cast<View*>(pane->widget()) : nullptr;
}

// The Hands pane exists once every pane is made; look it up when a row is applied.
std::function<void(int)> ApplyRowOf(CMainFrame& frame) {
  return [&frame](int row) {
    if (CHandsView* hands = frame.HandsView()) hands->ApplyRow(row);
  };
}

// A box that does not wait for the user: start-up goes on behind it.
void ShowNotice(QWidget* owner, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::Information, QApplication::applicationName(), text, QMessageBox::Ok, owner);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

// The setting may name an outline saved by the range pane rather than an XML library. Read
// without waiting: a FIFO at that name must not hold up the start.
bool IsOutlineFile(const QString& path) {
  const auto head = quillet::ReadRegularFileStart(path.toStdString(), 64);
  if (!head) return false;
  const QByteArray start = QByteArray::fromStdString(*head).trimmed();
  return !start.isEmpty() && !start.startsWith('<') && !start.startsWith("\xEF\xBB\xBF<");
}

// A library reached through a link is edited where it lies: the log says so, once a run.
void LogLinkedLibrary(CFerroxApp& app, const std::filesystem::path& file,
                      const std::optional<std::filesystem::path>& target) {
  if (target) app.AppendLog("The range library " + file.string() + " is a link: edits are written to " + target->string());
}

QString LibraryPath(CFerroxApp& app, const QString& setting) {
  return QString::fromStdString(app.folders().LibraryFile(setting.toStdString()).string());
}

// What the user is told of a library that did not load. Bytes that are no UTF-8 text
// (empty, UTF-16) are named as such rather than by the parser's complaint about them.
void TellUnloadedLibrary(CMainFrame& frame, const QString& path, const UserLibraryLoad& load,
                         const std::wstring& fileProblem, const std::wstring& textProblem) {
  if (textProblem.empty() && !load.message.empty()) return ShowNotice(&frame, QString::fromStdWString(load.message));
  std::wstring why = !textProblem.empty() ? textProblem : fileProblem;
  if (why.empty()) why = L"it holds no XML element";
  frame.AppendOutputLine(QStringLiteral("The range library <%1> was not read: %2. The Range pane is empty.")
                             .arg(QString::fromStdWString(EscapedText(path.toStdWString())),
                                  QString::fromStdWString(why)));
}

void LoadUserLibrary(CFerroxApp& app, CMainFrame& frame) {
  auto* view = PaneOf<CRangeView>(frame, cmd::ID_VIEW_RANGEVIEW);
  if (!view) return;
  const QString path = LibraryPath(app, app.settings().userRangePath);
  // Read first, without waiting: the outline test opens the file, and no text is no outline.
  std::wstring fileProblem;
  const auto bytes = ReadFileBytes(path.toStdString(), kUserLibraryMaxBytes, fileProblem);
  const std::wstring textProblem = bytes ? TextProblem(*bytes) : std::wstring();
  if (bytes && textProblem.empty() && IsOutlineFile(path)) {
    view->LoadOutlineFile(path);
    return;
  }
  const UserLibraryLoad load = view->Load(path.toStdString());
  LogLinkedLibrary(app, app.Library().OutputFile(), app.Library().OutputLinkTarget());
  if (!load.ok) TellUnloadedLibrary(frame, path, load, fileProblem, textProblem);
}

// The rankings file's reader reports a file it cannot read only when an edit is refused.
void TellUnreadableRankings(CFerroxApp& app, CMainFrame& frame) {
  const PredefinedRanges& rankings = app.Rankings();
  if (rankings.Loaded() || rankings.ParseError().empty()) return;
  QString line = QString::fromStdWString(EscapedText(rankings.ParseError()));
  if (!line.endsWith(QLatin1Char('.'))) line += QLatin1Char('.');
  frame.AppendOutputLine(line + QStringLiteral(" The rankings tree is empty."));
}

}  // namespace

QWidget* RangePane(CFerroxApp& app, CMainFrame& frame, QWidget* parent) {
  auto* view = new CRangeView(&app.LibraryModel(), &app.Hands(), &app.Panes(), parent);
  view->applyRow = ApplyRowOf(frame);
  view->SetUserRangePath(app.settings().userRangePath);
  view->SetInitialFolder(QString::fromStdString(app.folders().workDir.string()));
  view->storeUserRangePath = [&app](const QString& path) {
    app.settings().userRangePath = path;
    app.settings().WriteUserRangePath();
  };
  QObject::connect(view, &CRangeView::openHandRangeRequested, &frame, &CMainFrame::OpenHandRange);
  return view;
}

QWidget* ClassPane(CFerroxApp& app, CMainFrame& frame, QWidget* parent) {
  auto* view = new CClassView(&app.RankingModel(), &app.Hands(), &app.Panes(), parent);
  view->applyRow = ApplyRowOf(frame);
  view->activeEditor = [&frame] { return frame.ActiveEditorDocument(); };
  QObject::connect(view, &CClassView::openHandRangeRequested, &frame, &CMainFrame::OpenHandRange);
  QObject::connect(view, &CClassView::closeHandRangeRequested, &frame, &CMainFrame::CloseHandRange);
  return view;
}

void LoadRangeLibraries(CFerroxApp& app, CMainFrame& frame) {
  if (auto* rankings = PaneOf<CClassView>(frame, cmd::ID_VIEW_CLASSVIEW)) {
    rankings->BuildRankingTables();
    LogLinkedLibrary(app, QFile::encodeName(app.Rankings().FilePath()).toStdString(), app.Rankings().LinkTarget());
    const std::wstring fileError = app.Rankings().FileError();
    if (!fileError.empty()) ShowNotice(&frame, QString::fromStdWString(fileError));
    TellUnreadableRankings(app, frame);
  }
  LoadUserLibrary(app, frame);
}

QString RangeCategoryLabel(CFerroxApp& app, CMainFrame& frame) {
  const auto* rankings = PaneOf<CClassView>(frame, cmd::ID_VIEW_CLASSVIEW);
  const int category = rankings ? rankings->CurrentCategory() : -1;
  if (category == kEquilabCategory) return QStringLiteral("(Equilab)");
  if (category == kUserDefinedCategory) return QStringLiteral("(%1)").arg(rankings->LastSelectedName());
  const auto* ranges = PaneOf<CRangeView>(frame, cmd::ID_VIEW_RANGEVIEW);
  if (category != kUserFolderCategory || !ranges || !app.Panes().UseMode()) return {};
  const QModelIndex item = ranges->Tree()->currentIndex();
  return item.parent().isValid() ? QStringLiteral("(%1)").arg(item.parent().data().toString()) : QString();
}

}  // namespace ferrox
