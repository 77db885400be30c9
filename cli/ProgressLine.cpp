#include "cli/ProgressLine.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <system_error>

namespace ferrox::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kShowAfter{3000};
constexpr std::chrono::milliseconds kRefresh{250};

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
                                   static_cast<int>(fraction * 100.0), static_cast<long long>(seconds));
  std::fprintf(stderr, "\r%-*s", width, text);
  std::fflush(stderr);
  return std::max(width, length);
}

void Clear(int width) {
  std::fprintf(stderr, "\r%*s\r", width, "");
  std::fflush(stderr);
}

}  // namespace

void RunWithProgress(const std::string& name, const Progress& progress, const std::function<void()>& work) {
  if (!::isatty(STDERR_FILENO)) {
    work();
    return;
  }
  std::future<void> done;
  try {
    done = std::async(std::launch::async, work);
  } catch (const std::system_error&) {
    work();  // no thread to be had: compute here, without progress
    return;
  }
  const auto start = Clock::now();
  const auto after = ShowAfter();
  int width = 0;
  for (;;) {
    const auto elapsed = Clock::now() - start;
    if (elapsed >= after) width = Show(name, progress.Fraction(), elapsed, width);
    if (done.wait_for(kRefresh) == std::future_status::ready) break;
  }
  done.get();
  if (width > 0) Clear(width);
}

}  // namespace ferrox::cli
