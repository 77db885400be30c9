#pragma once
// The program's manual in a window of its own: a browser over the manual compiled into the
// program, with Back, Forward and Home. Non-modal; Esc closes it. Links inside the manual are
// followed in the window, http(s) links open in the desktop's browser.

#include <QUrl>
#include <QWidget>
#include <functional>

class QTextBrowser;

namespace ferrox {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // The manual's place among the program's resources.
  static QUrl ManualUrl();

  // parent: the window the help belongs to; the help stays a window of its own.
  explicit HelpWindow(QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }
  // Shows the window, or brings it forward where it is.
  void Present();

  // Opens an http(s) link outside the program; QDesktopServices unless replaced (tests).
  std::function<void(const QUrl&)> openExternal;

 private:
  void FollowLink(const QUrl& link);

  QTextBrowser* browser_ = nullptr;
};

}  // namespace ferrox
