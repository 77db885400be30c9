#pragma once
// A long command's work as a job: on a terminal, someone waiting sees that it is alive and
// how far it has got; Ctrl+C stops the work instead of killing the program mid-write.

#include <functional>
#include <string>

#include "engine/Progress.h"

namespace ferrox::cli {

inline constexpr int kExitStopped = 130;  // as a shell reports a program ended by Ctrl+C

enum class RunOutcome { Done, Stopped, Failed };

// Runs work on a job thread and waits for it. When stderr is a terminal and the work lasts
// past three seconds, shows "<name>: 37% (12 s)" there, rewritten in place, and clears it
// when the work is done. FERROX_PROGRESS_AFTER_MS sets another delay (0 shows the line at
// once). Ctrl+C while it runs asks the work to stop. error receives a failure's reason.
RunOutcome RunWithProgress(const std::string& name, const std::function<void(Progress&)>& work,
                           std::string* error = nullptr);

// The exit code and the line on stderr for an outcome other than Done.
int ReportOutcome(RunOutcome outcome, const std::string& error);

}  // namespace ferrox::cli
