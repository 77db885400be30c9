#pragma once
// Esc that stops a running job wherever the focus is in the program. The Evaluation pane
// and the chart window may both run at once: each Esc then stops one of them, where two
// plain shortcuts on one key would both do nothing.

#include <functional>

class QShortcut;
class QWidget;

namespace ferrox {

// Disabled to begin with: the owner enables it while its job runs.
QShortcut* MakeStopShortcut(QWidget* owner, std::function<void()> stop);

}  // namespace ferrox
