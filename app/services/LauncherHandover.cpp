#include "app/services/LauncherHandover.h"

#include <fcntl.h>
#include <unistd.h>

#include <QProcess>
#include <system_error>

#include "app/services/PathText.h"
#include "app/services/ProcessList.h"

namespace ferrox {

LauncherHandover::LauncherHandover(std::string eventName) : eventName_(std::move(eventName)) {}

bool LauncherHandover::CreateEvent() {
  if (HasEvent()) return true;
  event_ = sem_open(eventName_.c_str(), O_CREAT, 0600, 0);
  return HasEvent();
}

void LauncherHandover::Signal() {
  if (HasEvent()) sem_post(event_);
}

void LauncherHandover::Remove() {
  if (!HasEvent()) return;
  sem_close(event_);
  sem_unlink(eventName_.c_str());
  event_ = SEM_FAILED;
}

bool LauncherHandover::StartLauncher(const std::filesystem::path& programDir,
                                     const std::string& launcherName,
                                     const std::string& eventName,
                                     const std::filesystem::path& startDir) {
  const std::filesystem::path program = programDir / launcherName;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(program, ec) || access(program.c_str(), X_OK) != 0)
    return false;
  if (FindProcessByName(launcherName) != 0) return false;
  QStringList arguments;
  if (!eventName.empty() && eventName != "/Ferrox6PlusEvent")
    arguments << "--event" << QString::fromStdString(eventName);
  return QProcess::startDetached(ToQString(program), arguments, ToQString(startDir.empty() ? programDir : startDir));
}

}  // namespace ferrox
