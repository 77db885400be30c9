#include "launcher/HeraldoApp.h"

#include <QCoreApplication>
#include <cstdio>

#include "launcher/Launcher.h"
#include "launcher/LauncherOptions.h"

namespace ferrox::launcher {

bool CHeraldoApp::InitInstance(const QStringList& arguments) {
  // The settings key of the family of programs; the launcher itself keeps nothing there.
  QCoreApplication::setOrganizationName(QStringLiteral("Halvard"));
  QCoreApplication::setApplicationName(QStringLiteral("Heraldo"));
  QString error;
  const auto options = ParseLauncherOptions(arguments, error);
  if (!options) {
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    exitCode = 2;
    return false;
  }
  if (!options->help.isEmpty()) {
    std::fprintf(stdout, "%s", options->help.toLocal8Bit().constData());
    return false;
  }
  CLauncherMessages messages;
  CLauncher launcher(*options, messages);
  launcher.RunLauncher();
  return false;
}

}  // namespace ferrox::launcher
