#pragma once
// SIGTERM (a session ending, `kill`) and SIGINT close the program as its window's close
// button does: settings are written and the hand-over semaphore is removed.

class QWidget;

namespace ferrox {

// The window's property set true before a signal closes it: the close asks nothing, as
// nobody may be there to answer.
inline constexpr const char* kTerminating = "terminating";

// Installs the handlers; on a signal the window is closed, which ends the event loop.
// Call once, after the window exists; the window must outlive the event loop.
void CloseOnTerminationSignals(QWidget* window);

}  // namespace ferrox
