#include "launcher/LauncherMessages.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace ferrox::launcher {
namespace {

void PrintLine(const QString& text) {
  QString line = text;
  line.replace(u'\n', u' ');
  std::fprintf(stderr, "%s\n", line.toUtf8().constData());
  std::fflush(stderr);
}

QMessageBox::StandardButton RunTimedBox(QMessageBox& box, int timeoutMs) {
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.setAccessibleName(box.windowTitle());
  box.setAccessibleDescription(box.text());
  QTimer::singleShot(timeoutMs, &box, [&box] { box.done(QMessageBox::NoButton); });
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void ShowBox(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Heraldo"), text, QMessageBox::Ok);
  box.setAccessibleName(QStringLiteral("Heraldo message"));
  box.setAccessibleDescription(text);
  box.exec();
}

bool AskBox(const QString& text, const QString& caption, int timeoutMs) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Yes | QMessageBox::No);
  return RunTimedBox(box, timeoutMs) == QMessageBox::Yes;
}

void InformBox(const QString& text, const QString& caption, int timeoutMs) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
  RunTimedBox(box, timeoutMs);
}

}  // namespace

CLauncherMessages::Mode CLauncherMessages::ModeFromEnvironment() {
  const QByteArray value = qgetenv("HERALDO_MESSAGES");
  if (value == "stderr") return Mode::Stderr;
  if (value == "stderr-yes") return Mode::StderrYes;
  return Mode::Boxes;
}

CLauncherMessages::CLauncherMessages(Mode mode) {
  if (mode == Mode::Boxes) {
    showMessage = ShowBox;
    askYesNo = AskBox;
    inform = InformBox;
    return;
  }
  const bool answer = mode == Mode::StderrYes;
  showMessage = PrintLine;
  askYesNo = [answer](const QString& text, const QString& caption, int) {
    PrintLine(caption + ": " + text);
    return answer;
  };
  inform = [](const QString& text, const QString& caption, int) { PrintLine(caption + ": " + text); };
}

}  // namespace ferrox::launcher
