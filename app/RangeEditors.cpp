// The range editor windows in the tabbed document area: one per player row, opened by the
// Hands pane's apply and reused while it stays open.
#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>

#include "views/CommandIds.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "model/DocumentLinks.h"
#include "model/FerroxDoc.h"
#include "model/HandsModel.h"
#include "views/ClassView.h"
#include "views/FerroxView.h"
#include "views/HandsView.h"

namespace ferrox {

QMdiSubWindow* CMainFrame::ShowRangeEditor(CFerroxDoc* document, int row) {
  if (!document) return nullptr;
  for (QMdiSubWindow* window : mdi_->subWindowList()) {
    const auto* view = window->widget() ? window->widget()->findChild<CFerroxView*>() : nullptr;
    if (view && view->Document() == document) {
      mdi_->setActiveSubWindow(window);
      return window;
    }
  }
  auto* view = new CFerroxView(document, &app_.Hands(), &app_.Panes());
  // The form fills the window down to its smallest size; a smaller window scrolls, and
  // brings forward the part the user acts on.
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  scroll->setWidget(view);
  scroll->setWindowTitle(view->windowTitle());
  connect(view, &QWidget::windowTitleChanged, scroll, &QWidget::setWindowTitle);
  connect(view, &CFerroxView::editMenuRequested, this, [this, view](const QPoint& at) { ShowEditMenu(at, view); });
  connect(view, &CFerroxView::showRequested, scroll, [scroll](QWidget* part) { scroll->ensureWidgetVisible(part, 8, 8); });
  QMdiSubWindow* window = mdi_->addSubWindow(scroll);
  window->setAttribute(Qt::WA_DeleteOnClose);
  // A closed editor takes its document along: the row's next apply opens a fresh one, and
  // the player's text is parsed again meanwhile.
  HandsModel* hands = &app_.Hands();
  QPointer<CFerroxDoc> shown(document);
  connect(window, &QObject::destroyed, hands, [hands, shown, row] {
    if (shown && hands->Document(row) == shown) hands->CloseDocument(row);
  });
  window->show();
  mdi_->setActiveSubWindow(window);
  return window;
}

void CMainFrame::OpenHandRange(const QString& title) {
  // The window keeps the title as its name: an edit retitles it with the range text.
  for (QMdiSubWindow* window : mdi_->subWindowList())
    if (window->objectName() == title || window->windowTitle().contains(title))
      return mdi_->setActiveSubWindow(window);
  // A free document, linked to no player: the window owns it.
  auto* document = new CFerroxDoc(kFreeDocumentSlot);
  document->SetTitle(title);
  QMdiSubWindow* window = ShowRangeEditor(document, kFreeDocumentSlot);
  document->setParent(window);
  window->setObjectName(title);
}

void CMainFrame::CloseHandRange(const QString& title) {
  for (QMdiSubWindow* window : mdi_->subWindowList())
    if (window->objectName() == title || window->windowTitle() == title) window->close();
}

CFerroxDoc* CMainFrame::ActiveEditorDocument() const {
  const CFerroxView* view = ActiveEditorView();
  return view ? view->Document() : nullptr;
}

void CMainFrame::OnEditorActivated(QMdiSubWindow* window) {
  const auto* view = window && window->widget() ? window->widget()->findChild<CFerroxView*>() : nullptr;
  CFerroxDoc* document = view ? view->Document() : nullptr;
  if (!document) return;
  // The active editor's slot is the current one; the hero's editor takes its link back.
  DocumentLinks& links = app_.Hands().Links();
  const int slot = document->PlayerSlot();
  if (slot == kFreeDocumentSlot) return links.SetCurrent(-1);
  links.SetCurrent(slot);
  if (slot == 0 && links.Document(0) != document) links.Link(0, document);
  QDockWidget* tree = Pane(cmd::ID_VIEW_CLASSVIEW);
  if (auto* rankings = tree ? qobject_cast<CClassView*>(tree->widget()) : nullptr) rankings->SelectSlotItem(slot);
}

void CMainFrame::ShowEditMenu(const QPoint& globalPos, CFerroxView* editor) {
  auto* menu = new QMenu(QStringLiteral("Edit"), this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setObjectName(QStringLiteral("EditMenu"));
  // The editor's own undo and redo of its range, then the frame's cut, copy and paste,
  // which act on the text box that has the focus.
  if (editor) {
    menu->addActions(editor->EditActions());
    menu->addSeparator();
  }
  for (int id : {cmd::ID_EDIT_CUT, cmd::ID_EDIT_COPY, cmd::ID_EDIT_PASTE}) menu->addAction(actions_[id]);
  menu->popup(globalPos);
}

CFerroxView* CMainFrame::ActiveEditorView() const {
  QMdiSubWindow* window = mdi_ ? mdi_->activeSubWindow() : nullptr;
  return window && window->widget() ? window->widget()->findChild<CFerroxView*>() : nullptr;
}

void CMainFrame::OnUndo(bool redo) {
  // A text box outside the range editors undoes its own text; anywhere else the active
  // editor's range edits are undone.
  QWidget* focus = QApplication::focusWidget();
  CFerroxView* editor = nullptr;
  for (QWidget* w = focus; w && !editor; w = w->parentWidget()) editor = qobject_cast<CFerroxView*>(w);
  auto* text = qobject_cast<QLineEdit*>(focus);
  if (!editor && text && !text->isReadOnly()) {
    redo ? text->redo() : text->undo();
    return;
  }
  if (!editor) editor = ActiveEditorView();
  if (editor) redo ? editor->Redo() : editor->Undo();
}

CHandsView* CMainFrame::HandsView() const {
  const auto it = panes_.find(cmd::ID_VIEW_FILEVIEW);
  return it == panes_.end() ? nullptr : qobject_cast<CHandsView*>(it->second->widget());
}

}  // namespace ferrox
