#pragma once
// Progress of a long command on a terminal: until a job runner with cancel and progress
// exists, someone waiting on a long run sees that it is alive and how far it has got.

#include <functional>
#include <string>

#include "engine/Progress.h"

namespace ferrox::cli {

// Runs work. When stderr is a terminal and the work lasts past three seconds, shows
// "<name>: 37% (12 s)" there, rewritten in place, and clears it when the work is done.
// When stderr is not a terminal nothing extra is written. FERROX_PROGRESS_AFTER_MS sets
// another delay (0 shows the line at once).
void RunWithProgress(const std::string& name, const Progress& progress, const std::function<void()>& work);

}  // namespace ferrox::cli
