// Stands in for the main program in the launcher's process tests. Named after the copy it
// runs as, it creates "/<name>Event" like the real program, notes its start in
// FAKE_MAIN_MARKER, posts the semaphore after FAKE_MAIN_DELAY_MS, stays up
// FAKE_MAIN_LINGER_MS longer, then removes the semaphore and ends.
#include <fcntl.h>
#include <semaphore.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

int Milliseconds(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? std::atoi(value) : 0;
}

std::string OwnName(const char* argv0) {
  const std::string path = argv0;
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void NoteStart() {
  const char* marker = std::getenv("FAKE_MAIN_MARKER");
  if (!marker) return;
  std::ofstream out(marker, std::ios::app);
  out << "started " << getpid() << '\n';
}

}  // namespace

int main(int, char** argv) {
  std::string event(1, '/');
  event += OwnName(argv[0]) + "Event";
  sem_t* handle = sem_open(event.c_str(), O_CREAT, 0600, 0);
  if (handle == SEM_FAILED) return 1;
  NoteStart();
  std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds("FAKE_MAIN_DELAY_MS")));
  sem_post(handle);
  std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds("FAKE_MAIN_LINGER_MS")));
  sem_close(handle);
  sem_unlink(event.c_str());
  return 0;
}
