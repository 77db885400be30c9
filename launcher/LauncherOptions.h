#pragma once
// Heraldo's command line: [picture] [--event NAME] [--timeout-ms N] [--trace].

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace ferrox::launcher {

struct LauncherOptions {
  QString picture;        // replaces the configured picture when not empty
  std::string eventName;  // overrides "/<product>Event" when not empty
  int timeoutMs = 60000;  // longest wait for the main program's signal
  bool trace = false;     // each step as a line on stderr; also set by HERALDO_TRACE
  QString help;           // --help: the text to print, and nothing to run
};

// Nothing, with the reason in error, for an unknown option or a bad number.
std::optional<LauncherOptions> ParseLauncherOptions(const QStringList& arguments, QString& error);

}  // namespace ferrox::launcher
