#include "launcher/HandoverEvent.h"

#include <cerrno>
#include <ctime>

namespace ferrox::launcher {
namespace {

timespec Deadline(int timeoutMs) {
  timespec at{};
  clock_gettime(CLOCK_REALTIME, &at);
  at.tv_sec += timeoutMs / 1000;
  at.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
  if (at.tv_nsec >= 1000000000L) {
    at.tv_sec += 1;
    at.tv_nsec -= 1000000000L;
  }
  return at;
}

}  // namespace

bool CHandoverEvent::Open(const std::string& name) {
  Close();
  event_ = sem_open(name.c_str(), 0);
  return IsOpen();
}

void CHandoverEvent::Reset() {
  if (!IsOpen()) return;
  while (sem_trywait(event_) == 0 || errno == EINTR) {
  }
}

bool CHandoverEvent::Wait(int timeoutMs) {
  if (!IsOpen()) return false;
  const timespec deadline = Deadline(timeoutMs < 0 ? 0 : timeoutMs);
  while (sem_timedwait(event_, &deadline) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

void CHandoverEvent::Close() {
  if (IsOpen()) sem_close(event_);
  event_ = SEM_FAILED;
}

}  // namespace ferrox::launcher
