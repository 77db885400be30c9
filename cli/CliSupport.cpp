#include "cli/CliSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "core/EchoedText.h"
#include "core/Orderings.h"
#include "core/WideText.h"
#include "quillet/Evaluator.h"

namespace ferrox::cli {
namespace {

constexpr std::size_t kLongestLine = 240;
constexpr std::size_t kResultBufferBytes = 1 << 20;  // the largest result is a few ten KB

bool stdoutWasClosed = false;

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

// Lowest free number first, so opening /dev/null fills exactly the closed one.
void HoldWithDevNull(int fd) {
  const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
  if (held >= 0 && held != fd) {
    ::dup2(held, fd);
    ::close(held);
  }
}

// errno of the first failing step, 0 when stdout took everything. fd 1 stays held by
// /dev/null afterwards, so the flush at exit has nowhere to fail.
int FlushAndCloseStdout() {
  errno = 0;
  std::cout.flush();  // in step with stdio: this already flushes stdout
  int error = 0;
  if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout)) error = errno ? errno : EIO;
  // Some file systems report a failed write only when the file is closed.
  if (::close(STDOUT_FILENO) != 0 && error == 0) error = errno;
  HoldWithDevNull(STDOUT_FILENO);
  return error;
}

}  // namespace

std::wstring Shown(std::wstring_view input) { return QuotedInput(input); }

std::string Shown(std::string_view input) { return ToUtf8(Shown(FromUtf8(input))); }

int Fail(const std::wstring& message) {
  std::wstring_view line = message;
  while (!line.empty() && line.back() == L'\n') line.remove_suffix(1);
  std::cerr << ToUtf8(EscapedText(CutText(line, kLongestLine))) << '\n';
  return kExitBadInput;
}

int Fail(const std::string& message) { return Fail(FromUtf8(message)); }

bool LoadTables() {
  if (quillet::fsm5::load_fsm7() && quillet::fsm5::load_fsm5()) return true;
  std::cerr << "Cannot build the hand evaluation tables\n";
  return false;
}

const OrderingRanges& Orderings() { return OrderingsNextToProgram(); }

quillet::Rules RulesOf(int rules) {
  return rules == 1 ? quillet::kRulesStraightBeatsSet : quillet::kRulesStandard;
}

void Print(const Json& json) { std::cout << json.dump() << '\n'; }

void GuardStandardStreams() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (IsOpen(fd)) continue;
    if (fd == STDOUT_FILENO) stdoutWasClosed = true;
    HoldWithDevNull(fd);
  }
  // A result goes out in one write at the end, so a failure is met there, with its cause.
  static char buffer[kResultBufferBytes];
  if (!::isatty(STDOUT_FILENO)) std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
}

int DeliverResult(int exitCode) {
  const int error = FlushAndCloseStdout();
  if (exitCode != kExitOk) return exitCode;  // a refusal prints nothing there
  if (!stdoutWasClosed && error == 0) return kExitOk;
  const std::string why = stdoutWasClosed ? "standard output is closed" : std::strerror(error);
  std::cerr << "Cannot write the result: " << why << '\n';
  return kExitOutputLost;
}

}  // namespace ferrox::cli
