#include "app/HelpWindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace ferrox {
namespace {

QAction* NavigationAction(QWidget* owner, QStyle::StandardPixmap icon, const QString& text, const QKeySequence& key) {
  auto* action = new QAction(owner->style()->standardIcon(icon), text, owner);
  action->setShortcut(key);
  action->setToolTip(QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
  return action;
}

bool IsWebLink(const QUrl& url) {
  return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

}  // namespace

QUrl HelpWindow::ManualUrl() { return QUrl(QStringLiteral("qrc:/help/Ferrox6Plus.html")); }

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Ferrox6Plus Help"));
  openExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setAccessibleName(QStringLiteral("Help text"));
  browser_->setOpenLinks(false);  // FollowLink decides where a link leads
  connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::FollowLink);

  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("HelpNavigation"));
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction* back = NavigationAction(this, QStyle::SP_ArrowBack, QStringLiteral("Back"), Qt::ALT | Qt::Key_Left);
  QAction* forward =
      NavigationAction(this, QStyle::SP_ArrowForward, QStringLiteral("Forward"), Qt::ALT | Qt::Key_Right);
  QAction* home = NavigationAction(this, QStyle::SP_DirHomeIcon, QStringLiteral("Home"), Qt::ALT | Qt::Key_Home);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(home, &QAction::triggered, browser_, &QTextBrowser::home);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  bar->addActions({back, forward, home});

  auto* close = new QAction(this);
  close->setShortcut(Qt::Key_Escape);
  connect(close, &QAction::triggered, this, &QWidget::close);
  addAction(close);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(browser_);
  browser_->setSource(ManualUrl());
  const QSize wanted(760, 680);
  resize(screen() ? wanted.boundedTo(screen()->availableGeometry().size() * 9 / 10) : wanted);
}

void HelpWindow::Present() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void HelpWindow::FollowLink(const QUrl& link) {
  const QUrl target = browser_->source().resolved(link);
  if (IsWebLink(target)) {
    if (openExternal) openExternal(target);
    return;
  }
  // The manual is one page of the program's own: other kinds of links lead nowhere.
  if (target.scheme() == QLatin1String("qrc")) browser_->setSource(target);
}

}  // namespace ferrox
