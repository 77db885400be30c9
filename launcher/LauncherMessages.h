#pragma once
// The launcher's message boxes. Each kind is a replaceable function, so tests can capture
// the texts; HERALDO_MESSAGES=stderr (or stderr-yes) prints every message as one line on
// stderr instead and answers No (or Yes), so a launcher run by a test never blocks.

#include <QString>
#include <functional>

namespace ferrox::launcher {

class CLauncherMessages {
 public:
  enum class Mode { Boxes, Stderr, StderrYes };

  // From HERALDO_MESSAGES; message boxes when it is unset or unknown.
  static Mode ModeFromEnvironment();
  explicit CLauncherMessages(Mode mode = ModeFromEnvironment());

  // A plain box with an OK button.
  std::function<void(const QString& text)> showMessage;
  // Yes and No, closing by itself after timeoutMs; true only for Yes.
  std::function<bool(const QString& text, const QString& caption, int timeoutMs)> askYesNo;
  // Information with OK, closing by itself after timeoutMs.
  std::function<void(const QString& text, const QString& caption, int timeoutMs)> inform;
};

}  // namespace ferrox::launcher
