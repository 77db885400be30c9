#include "app/services/LauncherHandover.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "TestFiles.h"
#include "app/services/ProcessList.h"

namespace ferrox {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string TestEventName() { return "/Ferrox6PlusTest-" + std::to_string(getpid()); }

bool EventExists(const std::string& name) {
  sem_t* event = sem_open(name.c_str(), 0);
  if (event == SEM_FAILED) return false;
  sem_close(event);
  return true;
}

// Polls until the condition holds or five seconds pass.
template <typename Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 100; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return condition();
}

class LauncherHandoverTest : public ::testing::Test {
 protected:
  void TearDown() override { sem_unlink(TestEventName().c_str()); }
};

TEST_F(LauncherHandoverTest, EachSignalWakesTheLauncherOnce) {
  LauncherHandover handover(TestEventName());
  EXPECT_FALSE(handover.HasEvent());
  ASSERT_TRUE(handover.CreateEvent());
  EXPECT_TRUE(handover.HasEvent());

  sem_t* launcherSide = sem_open(TestEventName().c_str(), 0);
  ASSERT_NE(launcherSide, SEM_FAILED);
  EXPECT_EQ(sem_trywait(launcherSide), -1);
  EXPECT_EQ(errno, EAGAIN);
  handover.Signal();
  EXPECT_EQ(sem_trywait(launcherSide), 0);
  EXPECT_EQ(sem_trywait(launcherSide), -1);
  sem_close(launcherSide);
}

TEST_F(LauncherHandoverTest, OpensTheEventTheLauncherCreated) {
  sem_t* launcherSide = sem_open(TestEventName().c_str(), O_CREAT, 0600, 0);
  ASSERT_NE(launcherSide, SEM_FAILED);
  LauncherHandover handover(TestEventName());
  ASSERT_TRUE(handover.CreateEvent());
  handover.Signal();
  EXPECT_EQ(sem_trywait(launcherSide), 0);
  sem_close(launcherSide);
}

TEST_F(LauncherHandoverTest, RemoveAndDestructorUnlinkTheName) {
  LauncherHandover handover(TestEventName());
  ASSERT_TRUE(handover.CreateEvent());
  handover.Remove();
  EXPECT_FALSE(handover.HasEvent());
  EXPECT_FALSE(EventExists(TestEventName()));
  handover.Signal();  // harmless without an event

  {
    LauncherHandover scoped(TestEventName());
    ASSERT_TRUE(scoped.CreateEvent());
    ASSERT_TRUE(EventExists(TestEventName()));
  }
  EXPECT_FALSE(EventExists(TestEventName()));
}

TEST_F(LauncherHandoverTest, HandoverThatNeverCreatedLeavesOthersAlone) {
  sem_t* launcherSide = sem_open(TestEventName().c_str(), O_CREAT, 0600, 0);
  ASSERT_NE(launcherSide, SEM_FAILED);
  {
    LauncherHandover handover(TestEventName());
    handover.Signal();
    handover.Remove();
  }
  EXPECT_TRUE(EventExists(TestEventName()));
  EXPECT_EQ(sem_trywait(launcherSide), -1);
  sem_close(launcherSide);
}

class StartLauncherTest : public ::testing::Test {
 protected:
  fs::path Folder() const { return test::PathOf(dir_); }
  std::string LauncherName() const { return "HeraldoTest" + std::to_string(getpid()); }
  fs::path Launcher() const { return Folder() / LauncherName(); }

  void WriteScript(fs::perms perms) {
    // Writes the folder it runs in, to show where it was started.
    test::WriteFile(Launcher(), "#!/bin/sh\npwd > started.tmp\nmv started.tmp started\n");
    fs::permissions(Launcher(), perms);
  }

  QTemporaryDir dir_;
};

TEST_F(StartLauncherTest, MissingOrNonExecutableLauncherIsNotStarted) {
  EXPECT_FALSE(LauncherHandover::StartLauncher(Folder(), LauncherName()));
  WriteScript(fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(LauncherHandover::StartLauncher(Folder(), LauncherName()));
  fs::create_directory(Folder() / "HeraldoDir");
  EXPECT_FALSE(LauncherHandover::StartLauncher(Folder(), "HeraldoDir"));
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(fs::exists(Folder() / "started"));
}

TEST_F(StartLauncherTest, StartsTheLauncherInTheProgramFolder) {
  WriteScript(fs::perms::owner_all);
  ASSERT_TRUE(LauncherHandover::StartLauncher(Folder(), LauncherName()));
  ASSERT_TRUE(Eventually([&] { return fs::exists(Folder() / "started"); }));
  EXPECT_EQ(test::ReadFile(Folder() / "started"), Folder().string() + "\n");
}

TEST_F(StartLauncherTest, RunningLauncherIsNotStartedTwice) {
  // A copy of sleep stands in for a launcher that is already up.
  fs::copy_file("/bin/sleep", Launcher());
  fs::permissions(Launcher(), fs::perms::owner_all);
  const std::string path = Launcher().string();
  char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>("30"), nullptr};
  pid_t running = 0;
  ASSERT_EQ(posix_spawn(&running, path.c_str(), nullptr, nullptr, argv, environ), 0);
  const bool seen = Eventually([&] { return FindProcessByName(LauncherName()) != 0; });

  EXPECT_TRUE(seen);
  EXPECT_FALSE(LauncherHandover::StartLauncher(Folder(), LauncherName()));
  kill(running, SIGTERM);
  waitpid(running, nullptr, 0);
}

}  // namespace
}  // namespace ferrox
