#include "launcher/LauncherOptions.h"

#include <QCommandLineParser>

namespace ferrox::launcher {

std::optional<LauncherOptions> ParseLauncherOptions(const QStringList& arguments, QString& error) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Shows a picture while Ferrox6Plus starts."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("Picture to show instead of the configured one."));
  const QCommandLineOption event(QStringLiteral("event"), QStringLiteral("Name of the hand-over semaphore."), QStringLiteral("NAME"));
  const QCommandLineOption timeout(QStringLiteral("timeout-ms"), QStringLiteral("Longest wait in milliseconds."), QStringLiteral("N"));
  const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral("Print each step on stderr."));
  parser.addOptions({event, timeout, trace});
  if (!parser.parse(arguments)) {
    error = parser.errorText();
    return std::nullopt;
  }
  LauncherOptions options;
  if (parser.isSet(QStringLiteral("help"))) {
    options.help = parser.helpText();
    return options;
  }
  if (!parser.positionalArguments().isEmpty()) options.picture = parser.positionalArguments().first();
  QString name = parser.value(event);
  if (!name.isEmpty() && !name.startsWith(u'/')) name.prepend(u'/');
  options.eventName = name.toStdString();
  if (parser.isSet(timeout)) {
    bool ok = false;
    options.timeoutMs = parser.value(timeout).toInt(&ok);
    if (!ok || options.timeoutMs < 0) {
      error = QStringLiteral("--timeout-ms needs a number of milliseconds, not ") + parser.value(timeout);
      return std::nullopt;
    }
  }
  // The environment reaches a launcher that another program started with fixed arguments.
  options.trace = parser.isSet(trace) || qEnvironmentVariableIsSet("HERALDO_TRACE");
  return options;
}

}  // namespace ferrox::launcher
