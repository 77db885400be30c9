#include "app/services/ProcessList.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace ferrox {
namespace {

namespace fs = std::filesystem;

std::string ExeName(const fs::path& processDir) {
  std::error_code ec;
  return fs::read_symlink(processDir / "exe", ec).filename().string();
}

const std::string& OwnName() {
  static const std::string name = ExeName("/proc/self");
  return name;
}

TEST(ProcessListTest, FindsARunningProgramByItsFileName) {
  ASSERT_FALSE(OwnName().empty());
  const int pid = FindProcessByName(OwnName());
  ASSERT_NE(pid, 0);
  // Another copy of this test may run in parallel; any of them will do.
  EXPECT_EQ(ExeName("/proc/" + std::to_string(pid)), OwnName());
}

TEST(ProcessListTest, NamesMustMatchExactly) {
  EXPECT_EQ(FindProcessByName("NoSuchProgramFerrox6PlusTest"), 0);
  std::string upper = OwnName();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ASSERT_NE(upper, OwnName());
  EXPECT_EQ(FindProcessByName(upper), 0);
  EXPECT_EQ(FindProcessByName(OwnName().substr(0, OwnName().size() - 1)), 0);
  EXPECT_EQ(FindProcessByName(OwnName() + "x"), 0);
  EXPECT_EQ(FindProcessByName(""), 0);
}

TEST(ProcessListTest, ProcessesWithHiddenExecutablesMatchByKernelName) {
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec); !ec && it != fs::directory_iterator();
       it.increment(ec)) {
    const std::string pid = it->path().filename().string();
    if (!std::isdigit(static_cast<unsigned char>(pid[0]))) continue;
    std::error_code linkError;
    [[maybe_unused]] const fs::path exe = fs::read_symlink(it->path() / "exe", linkError);
    std::ifstream commFile(it->path() / "comm");
    std::string comm;
    if (linkError != std::errc::permission_denied || !std::getline(commFile, comm)) continue;
    EXPECT_NE(FindProcessByName(comm), 0) << comm;
    // The kernel keeps 15 characters of the name.
    if (comm.size() == 15) {
      EXPECT_NE(FindProcessByName(comm + "-longer"), 0) << comm;
    }
    return;
  }
  GTEST_SKIP() << "every process's executable is readable here";
}

char ProcessState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const auto close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() ? '?' : line[close + 2];
}

TEST(ProcessListTest, FinishedProcessesDoNotCount) {
  QTemporaryDir dir;
  const std::string name = "Zombie" + std::to_string(getpid());
  const fs::path program = fs::path(dir.path().toStdString()) / name;
  fs::copy_file("/bin/true", program);
  const std::string path = program.string();
  char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, path.c_str(), nullptr, nullptr, argv, environ), 0);
  // Not reaped yet: the kernel keeps its name but it no longer runs.
  bool zombie = false;
  for (int i = 0; i < 100 && !zombie; ++i) {
    zombie = ProcessState(child) == 'Z';
    if (!zombie) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(zombie);
  EXPECT_EQ(FindProcessByName(name), 0);
  waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace ferrox
