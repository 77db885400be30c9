#pragma once
// The main program's side of the hand-over with the splash launcher "Heraldo": the launcher
// shows its splash until the main program posts a named semaphore.

#include <semaphore.h>

#include <filesystem>
#include <string>

namespace ferrox {

class LauncherHandover {
 public:
  explicit LauncherHandover(std::string eventName = "/Ferrox6PlusEvent");
  ~LauncherHandover() { Remove(); }
  LauncherHandover(const LauncherHandover&) = delete;
  LauncherHandover& operator=(const LauncherHandover&) = delete;

  // Creates the semaphore, or opens it when the launcher already did.
  bool CreateEvent();
  bool HasEvent() const { return event_ != SEM_FAILED; }
  // Posts the semaphore once; does nothing without one.
  void Signal();
  // Closes and unlinks the semaphore; does nothing when it was never created.
  void Remove();

  // Starts programDir/launcherName detached when it is an executable file and no process of
  // that name runs. Returns whether it was started. An event name other than the default
  // one is passed as "--event NAME", so the launcher waits on ours. It starts in startDir
  // (programDir when empty): the launcher reads the version file from where it starts.
  static bool StartLauncher(const std::filesystem::path& programDir,
                            const std::string& launcherName = "Heraldo",
                            const std::string& eventName = {},
                            const std::filesystem::path& startDir = {});

 private:
  std::string eventName_;
  sem_t* event_ = SEM_FAILED;
};

}  // namespace ferrox
