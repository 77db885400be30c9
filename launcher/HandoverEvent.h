#pragma once
// The launcher's side of the hand-over: it opens the main program's named semaphore, never
// creates it. A semaphore that does not exist yet leaves the handle empty and the wait
// returns at once.

#include <semaphore.h>

#include <string>

namespace ferrox::launcher {

class CHandoverEvent {
 public:
  CHandoverEvent() = default;
  ~CHandoverEvent() { Close(); }
  CHandoverEvent(const CHandoverEvent&) = delete;
  CHandoverEvent& operator=(const CHandoverEvent&) = delete;

  // Opens name ("/..."); false, and no handle, when nobody created it.
  bool Open(const std::string& name);
  bool IsOpen() const { return event_ != SEM_FAILED; }
  // Takes back posts from an earlier run, so only a new signal ends the wait.
  void Reset();
  // True when the semaphore was posted within timeoutMs; false on time-out or without one.
  bool Wait(int timeoutMs);
  void Close();

 private:
  sem_t* event_ = SEM_FAILED;
};

}  // namespace ferrox::launcher
