#include "cli/ProgressLine.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/CliSupport.h"
#include "engine/Job.h"

namespace ferrox::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kShowAfter{3000};
constexpr std::chrono::milliseconds kRefresh{100};

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int) { interrupted = 1; }

// Ctrl+C sets a flag for as long as a job runs; the default action comes back after.
class InterruptWatch {
 public:
  InterruptWatch() {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptWatch() { sigaction(SIGINT, &previous_, nullptr); }
  bool Interrupted() const { return interrupted != 0; }

 private:
  struct sigaction previous_ {};
};

std::chrono::milliseconds ShowAfter() {
  const char* text = std::getenv("FERROX_PROGRESS_AFTER_MS");
  int ms = 0;
  if (!text || std::from_chars(text, text + std::strlen(text), ms).ec != std::errc() || ms < 0) return kShowAfter;
  return std::chrono::milliseconds(ms);
}

// One line on stderr, each text written over the last; returns the width written so far.
int Show(const std::string& name, double fraction, Clock::duration elapsed, int width) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  char text[128];
  const int length = std::snprintf(text, sizeof text, "%s: %d%% (%lld s)", name.c_str(),
                                   static_cast<int>(std::min(1.0, fraction) * 100.0), static_cast<long long>(seconds));
  std::fprintf(stderr, "\r%-*s", width, text);
  std::fflush(stderr);
  return std::max(width, length);
}

void Clear(int width) {
  std::fprintf(stderr, "\r%*s\r", width, "");
  std::fflush(stderr);
}

}  // namespace

RunOutcome RunWithProgress(const std::string& name, const std::function<void(Progress&)>& work,
                           std::string* error) {
  const InterruptWatch watch;
  Job<bool> job([&work](Progress& progress) {
    work(progress);
    return true;
  });
  const bool terminal = ::isatty(STDERR_FILENO);
  const auto start = Clock::now();
  const auto after = ShowAfter();
  int width = 0;
  do {
    if (watch.Interrupted()) job.Stop();
    const auto elapsed = Clock::now() - start;
    if (terminal && elapsed >= after) width = Show(name, job.progress().Fraction(), elapsed, width);
  } while (!job.Wait(kRefresh));
  if (width > 0) Clear(width);
  switch (job.State()) {
    case JobState::Finished: return RunOutcome::Done;
    case JobState::Stopped: return RunOutcome::Stopped;
    default:
      if (error) *error = job.Error();
      return RunOutcome::Failed;
  }
}

int ReportOutcome(RunOutcome outcome, const std::string& error) {
  if (outcome == RunOutcome::Stopped) {
    Fail("Stopped");
    return kExitStopped;
  }
  return Fail(error.empty() ? "The computation failed" : "The computation failed: " + error);
}

}  // namespace ferrox::cli
