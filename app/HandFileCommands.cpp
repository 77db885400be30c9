// The main window's file commands: New, Open, Save, Save As and Recent Documents over the
// calculator's hand files, and New over the chart.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>

#include "app/FerroxApp.h"
#include "app/HandSession.h"
#include "app/MainFrame.h"
#include "app/NewDocumentDialog.h"
#include "model/HandsModel.h"
#include "model/RecentFiles.h"
#include "views/ChartView.h"
#include "views/CommandIds.h"
#include "views/FerroxView.h"

namespace ferrox {

using namespace cmd;

namespace {

QString WithExtension(QString file) {
  if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".") + kHandFileExtension;
  return file;
}

}  // namespace

void CMainFrame::BuildFileCommands() {
  hand_ = std::make_unique<HandSession>(app_);
  connect(actions_[ID_FILE_NEW], &QAction::triggered, this, &CMainFrame::OnFileNew);
  connect(actions_[ID_FILE_OPEN], &QAction::triggered, this, &CMainFrame::OnFileOpen);
  connect(actions_[ID_FILE_SAVE], &QAction::triggered, this, &CMainFrame::OnFileSave);
  connect(actions_[ID_FILE_SAVE_AS], &QAction::triggered, this, &CMainFrame::OnFileSaveAs);
  HandsModel& hands = app_.Hands();
  connect(&hands, &HandsModel::textChanged, this, [this] { ShowHandState(); });
  for (auto changed : {&HandsModel::editorChanged, &HandsModel::cardsChanged})
    connect(&hands, changed, this, [this] { ShowHandState(); });
}

void CMainFrame::FillFileMenu(QMenu* appMenu) {
  for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS}) appMenu->addAction(actions_[id]);
  appMenu->addSeparator();
  recentMenu_ = appMenu->addMenu("Recent Documents");
  recentMenu_->setObjectName("RecentDocuments");
  recentMenu_->setMinimumWidth(300);
  connect(recentMenu_, &QMenu::aboutToShow, this, &CMainFrame::FillRecentMenu);
  FillRecentMenu();
}

void CMainFrame::FillRecentMenu() {
  // Later, not now: the entry being chosen is the one that asked for the new list.
  for (QAction* entry : recentMenu_->actions()) {
    recentMenu_->removeAction(entry);
    entry->deleteLater();
  }
  const QStringList files = RecentFiles(app_.settings().Store()).List();
  for (int i = 0; i < files.size(); ++i) {
    QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()));
    entry->setObjectName(QStringLiteral("RecentFile%1").arg(i + 1));
    entry->setToolTip(files[i]);
    entry->setStatusTip(files[i]);
    const QString file = files[i];
    connect(entry, &QAction::triggered, this, [this, file] { OnOpenRecent(file); });
  }
  recentMenu_->setEnabled(!files.isEmpty());
}

bool CMainFrame::MaybeSaveHand() {
  if (!hand_->IsModified()) return true;
  const auto answer = QMessageBox::question(this, QApplication::applicationName(),
                                            QStringLiteral("Save changes to %1?").arg(hand_->DisplayName()),
                                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Cancel) return false;
  return answer == QMessageBox::No || SaveHand();
}

void CMainFrame::OnFileNew() {
  NewDocumentDialog dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (dialog.Kind() == DocumentKind::Chart) {
    OnChartMakeView();
    return;
  }
  if (!MaybeSaveHand()) return;
  CloseHandEditors();
  app_.Hands().ClearAll();
  app_.Hands().ClearDead();
  hand_->MarkSaved({});
  ShowHandState();
}

QString CMainFrame::ChooseHandFile(bool save) {
  // The hand's folder, no file in it: a name picked for the dialog once the folder has been
  // read would replace one the user typed meanwhile.
  const QString start = hand_->File().isEmpty() ? QString::fromStdString(app_.folders().workDir.string())
                                                : QFileInfo(hand_->File()).absolutePath();
  QFileDialog dialog(this, save ? "Save As" : "Open", start, QStringLiteral("%1;;All files (*)").arg(kHandFileFilter));
  dialog.setObjectName(save ? "SaveHandDialog" : "OpenHandDialog");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(kHandFileExtension);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void CMainFrame::OnFileOpen() {
  if (!MaybeSaveHand()) return;
  const QString file = ChooseHandFile(false);
  if (!file.isEmpty()) OpenHandFile(file, false);
}

void CMainFrame::OnOpenRecent(const QString& file) {
  if (!QFileInfo::exists(file)) {
    RecentFiles(app_.settings().Store()).Remove(file);
    FillRecentMenu();
    QMessageBox::warning(this, QApplication::applicationName(),
                         QStringLiteral("%1 cannot be found. It is removed from Recent Documents.").arg(file));
    return;
  }
  if (MaybeSaveHand()) OpenHandFile(file, false);
}

bool CMainFrame::OpenHandFile(const QString& file, bool askToSave) {
  if (askToSave && !MaybeSaveHand()) return false;
  std::string error;
  const std::optional<SavedHand> hand = ReadHandFile(file.toStdString(), error);
  if (!hand) {
    QMessageBox::warning(this, QApplication::applicationName(),
                         QStringLiteral("%1 was not opened: %2").arg(file, QString::fromStdString(error)));
    return false;
  }
  CloseHandEditors();
  if (hand->useMode && app_.mode == 0) OnUseMode();
  if (!hand->useMode && app_.mode != 0) OnCreateMode();
  const std::vector<int> made = hand_->Restore(*hand);
  for (int row : made) ShowRangeEditor(app_.Hands().Document(row), row);
  KeptIn(file);
  UpdateCommandUi();
  return true;
}

void CMainFrame::OnFileSave() {
  if (CChartView* chart = ActiveChartView()) return chart->SaveAs();
  SaveHand();
}

void CMainFrame::OnFileSaveAs() {
  if (CChartView* chart = ActiveChartView()) return chart->SaveAs();
  SaveHandAs();
}

bool CMainFrame::SaveHand() { return hand_->File().isEmpty() ? SaveHandAs() : SaveHandTo(hand_->File()); }

bool CMainFrame::SaveHandAs() {
  const QString file = ChooseHandFile(true);
  return !file.isEmpty() && SaveHandTo(WithExtension(file));
}

bool CMainFrame::SaveHandTo(const QString& file) {
  std::string error;
  if (!WriteHandFile(file.toStdString(), hand_->Current(), error)) {
    QMessageBox::warning(this, QApplication::applicationName(),
                         QStringLiteral("The hand was not saved. %1").arg(QString::fromStdString(error)));
    return false;
  }
  KeptIn(file);
  ShowHandState();
  return true;
}

void CMainFrame::KeptIn(const QString& file) {
  hand_->MarkSaved(QFileInfo(file).absoluteFilePath());
  RecentFiles(app_.settings().Store()).Add(hand_->File());
  FillRecentMenu();
}

void CMainFrame::CloseHandEditors() {
  // Deleted at once, not closed: a window closed later would take the next hand's editor.
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    const auto* view = window->widget() ? window->widget()->findChild<CFerroxView*>() : nullptr;
    const CFerroxDoc* document = view ? view->Document() : nullptr;
    if (document && document->PlayerSlot() != kFreeDocumentSlot &&
        app_.Hands().Document(document->PlayerSlot()) == document)
      delete window;
  }
}

CChartView* CMainFrame::ActiveChartView() const {
  const QMdiSubWindow* active = mdi_->activeSubWindow();
  return active ? qobject_cast<CChartView*>(active->widget()) : nullptr;
}

void CMainFrame::ShowHandState() {
  setWindowTitle(DocumentTitle());
  setWindowModified(!hand_->File().isEmpty() && hand_->IsModified());
}

}  // namespace ferrox
