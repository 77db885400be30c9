// Heraldo run as a real second process, against a stand-in main program and the real one.
#include <gtest/gtest.h>
#include <semaphore.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/services/PathText.h"
#include "app/services/ProcessList.h"
#include "tests/support/FifoWatch.h"

namespace ferrox::launcher {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLauncherCopy = "HeraldoUnderTest";

struct LaunchRun {
  int exitCode = -1;
  QString output;  // stderr: messages and trace lines
  qint64 ms = 0;
};

template <typename Condition>
bool Eventually(Condition condition, int ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > ms) return false;
    QThread::msleep(25);
  }
  return true;
}

// A process that ended but was not reaped yet counts as gone.
// The Heraldo given an event name on its command line, and that name: the one a main
// program started. The other tests' launchers, which may run meanwhile, are given none.
int LauncherGivenAnEvent(std::string& eventName) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string comm;
    std::getline(std::ifstream(entry.path() / "comm"), comm);
    if (comm != "Heraldo") continue;
    std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
    std::vector<std::string> parts;
    for (std::string part; std::getline(cmdline, part, '\0');) parts.push_back(part);
    const auto at = std::find(parts.begin(), parts.end(), "--event");
    if (at == parts.end() || at + 1 == parts.end()) continue;
    eventName = *(at + 1);
    return std::stoi(pid);
  }
  return 0;
}

bool Alive(int pid) {
  QFile stat(QString("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray text = stat.readAll();
  const qsizetype close = text.lastIndexOf(')');
  return close >= 0 && close + 2 < text.size() && text[close + 2] != 'Z';
}

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

void CopyExecutable(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::permissions(to, fs::perms::owner_all);
}

// Layout of an installed launcher: bin/ holds it with its library, start/ is the folder it
// is started in, with the stand-in program under a name unique to this test.
class LauncherProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    static int counter = 0;
    product_ = "FakeMain" + std::to_string(getpid()) + "x" + std::to_string(++counter);
    fs::create_directories(LauncherDir());
    fs::create_directories(StartDir());
    CopyExecutable(HERALDO_PATH, LauncherDir() / kLauncherCopy);
    fs::copy_file(QUILLET_PATH, LauncherDir() / fs::path(QUILLET_PATH).filename());
    CopyExecutable(FAKE_MAIN_PATH, StartDir() / product_);
    fs::copy_file(SPLASH_PNG, StartDir() / "splash.png");
  }

  void TearDown() override {
    if (running_.state() != QProcess::NotRunning) {
      running_.kill();
      running_.waitForFinished();
    }
    for (int i = 0, pid; i < 50 && (pid = FindProcessByName(product_)) != 0 && Alive(pid); ++i) {
      ::kill(pid, SIGKILL);
      QThread::msleep(20);
    }
    sem_unlink(EventName().c_str());
  }

  fs::path Root() const { return ToPath(dir_.path()); }
  fs::path LauncherDir() const { return Root() / "bin"; }
  fs::path StartDir() const { return Root() / "start"; }
  fs::path Marker() const { return Root() / "marker"; }
  std::string EventName() const { return "/" + product_ + "Event"; }

  void WriteConfig(const std::string& picture = "splash.png", const std::string& extra = {},
                   const fs::path& dir = {}) {
    WriteText((dir.empty() ? StartDir() : dir) / "Splash_config.xml",
              "<?xml version=\"1.0\"?>\n<Heraldo>\n  <Application process_name=\"" + product_ +
                  "\" work_directory=\"\" event_name=\"\"/>\n  <Picture path=\"" + picture + "\"/>\n" + extra +
                  "</Heraldo>\n");
  }

  QProcessEnvironment Environment(int delayMs, int lingerMs) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HERALDO_MESSAGES", messages_);
    env.insert("FAKE_MAIN_MARKER", ToQString(Marker()));
    env.insert("FAKE_MAIN_DELAY_MS", QString::number(delayMs));
    env.insert("FAKE_MAIN_LINGER_MS", QString::number(lingerMs));
    return env;
  }

  LaunchRun Launch(QStringList arguments, int delayMs = 0, int lingerMs = 0, const fs::path& startDir = {}) {
    QProcess launcher;
    launcher.setProgram(ToQString(LauncherDir() / kLauncherCopy));
    launcher.setArguments(arguments << "--trace");
    launcher.setWorkingDirectory(ToQString(startDir.empty() ? StartDir() : startDir));
    launcher.setProcessEnvironment(Environment(delayMs, lingerMs));
    LaunchRun run;
    QElapsedTimer timer;
    timer.start();
    launcher.start();
    if (!launcher.waitForFinished(30000)) launcher.kill();
    launcher.waitForFinished();
    run.ms = timer.elapsed();
    run.exitCode = launcher.exitCode();
    run.output = QString::fromUtf8(launcher.readAllStandardError());
    return run;
  }

  // The stand-in started by the test itself, as if the user had started it first.
  void StartMainProgram(int delayMs, int lingerMs) {
    running_.setProgram(ToQString(StartDir() / product_));
    running_.setProcessEnvironment(Environment(delayMs, lingerMs));
    running_.start();
    ASSERT_TRUE(running_.waitForStarted());
    ASSERT_TRUE(Eventually([&] { return Starts() == 1; }));
  }

  int Starts() const {
    std::ifstream in(Marker());
    int lines = 0;
    for (std::string line; std::getline(in, line);) lines += line.starts_with("started ");
    return lines;
  }

  QTemporaryDir dir_;
  std::string product_;
  QString messages_ = "stderr";
  QProcess running_;
};

TEST_F(LauncherProcessTest, StartedFirstItStartsTheProgramShowsTheSplashAndEndsAtOnce) {
  WriteConfig();
  const LaunchRun run = Launch({"--timeout-ms", "20000"}, 3000, 3000);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.output.contains("missing")) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains("gives 42")) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains("splash 480x270")) << run.output.toStdString();
  EXPECT_LT(run.ms, 10000);
  ASSERT_TRUE(Eventually([&] { return Starts() == 1; }));
  const int started = FindProcessByName(product_);
  EXPECT_TRUE(started != 0 && Alive(started));  // it outlives the launcher
}

TEST_F(LauncherProcessTest, TwoLaunchersStartedAtOnceStartOneProgram) {
  WriteConfig();
  QProcess launchers[2];
  for (QProcess& launcher : launchers) {
    launcher.setProgram(ToQString(LauncherDir() / kLauncherCopy));
    launcher.setArguments({"--timeout-ms", "4000", "--trace"});
    launcher.setWorkingDirectory(ToQString(StartDir()));
    launcher.setProcessEnvironment(Environment(2000, 2000));
  }
  for (QProcess& launcher : launchers) launcher.start();
  QString output;
  for (QProcess& launcher : launchers) {
    if (!launcher.waitForFinished(30000)) launcher.kill();
    launcher.waitForFinished();
    output += QString::fromUtf8(launcher.readAllStandardError());
  }
  // The second waits on the first's lock, or (on a slow machine, when it comes after the
  // first is done) finds the program the first started.
  EXPECT_EQ(output.count("another launcher runs") + output.count("found " + QString::fromStdString(product_)), 1)
      << output.toStdString();
  ASSERT_TRUE(Eventually([&] { return Starts() >= 1; }));
  QThread::msleep(300);
  EXPECT_EQ(Starts(), 1);
}

TEST_F(LauncherProcessTest, ProgramAlreadyRunningIsNotStartedAgainAndItsSignalEndsTheWait) {
  WriteConfig();
  QElapsedTimer sinceStart;
  sinceStart.start();
  StartMainProgram(2500, 5000);
  const LaunchRun run = Launch({"--timeout-ms", "20000"});
  EXPECT_TRUE(run.output.contains("found " + QString::fromStdString(product_))) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains("ms, signalled")) << run.output.toStdString();
  EXPECT_GE(sinceStart.elapsed(), 2400);  // not before the program posted
  EXPECT_LT(run.ms, 15000);
  EXPECT_EQ(Starts(), 1);
}

TEST_F(LauncherProcessTest, WithoutASignalTheWaitEndsAfterTheTimeOut) {
  WriteConfig();
  StartMainProgram(60000, 0);
  const LaunchRun run = Launch({"--timeout-ms", "800"});
  EXPECT_TRUE(run.output.contains("not signalled")) << run.output.toStdString();
  EXPECT_GE(run.ms, 750);
  EXPECT_LT(run.ms, 10000);
  EXPECT_EQ(Starts(), 1);
}

TEST_F(LauncherProcessTest, EarlierSignalsDoNotEndTheWait) {
  WriteConfig();
  StartMainProgram(0, 60000);  // posts before the launcher opens the semaphore
  const LaunchRun run = Launch({"--timeout-ms", "800"});
  EXPECT_TRUE(run.output.contains("not signalled")) << run.output.toStdString();
  EXPECT_GE(run.ms, 750);
}

TEST_F(LauncherProcessTest, PictureThatCannotBeLoadedEndsWithoutUpdateCheckOrWait) {
  WriteConfig("missing.png");
  WriteText(StartDir() / "broken.png", "not a picture");
  StartMainProgram(60000, 0);
  const LaunchRun run = Launch({"--timeout-ms", "20000", "broken.png"});
  EXPECT_TRUE(run.output.contains(QString::fromUtf8("Невозможно найти изображение broken.png. Закрытие Heraldo")))
      << run.output.toStdString();
  EXPECT_FALSE(run.output.contains("update check"));
  EXPECT_FALSE(run.output.contains("waited"));
  EXPECT_LT(run.ms, 10000);
}

TEST_F(LauncherProcessTest, APictureNamedByAFifoIsNoPictureAndHoldsNothingUp) {
  ferrox::testing::FifoWatch fifo(StartDir() / "splash.fifo");
  ASSERT_TRUE(fifo.Made());
  WriteConfig("splash.fifo");
  StartMainProgram(60000, 0);
  const LaunchRun run = Launch({"--timeout-ms", "20000"});
  EXPECT_FALSE(fifo.ReaderBlocked()) << "the launcher waited for a writer";
  EXPECT_TRUE(run.output.contains(QString::fromUtf8("Невозможно найти изображение splash.fifo. Закрытие Heraldo")))
      << run.output.toStdString();
}

TEST_F(LauncherProcessTest, CommandLinePictureReplacesTheConfiguredOne) {
  QImage small(64, 32, QImage::Format_RGB32);
  small.fill(Qt::darkGreen);
  ASSERT_TRUE(small.save(ToQString(StartDir() / "small.png")));
  WriteConfig("splash.png");
  const LaunchRun run = Launch({"--timeout-ms", "500", "small.png"}, 0, 2000);
  EXPECT_TRUE(run.output.contains("splash 64x32")) << run.output.toStdString();
  EXPECT_FALSE(run.output.contains("480x270"));
}

TEST_F(LauncherProcessTest, MissingOrBrokenConfigSaysSoAndStartsNothing) {
  LaunchRun run = Launch({"--timeout-ms", "500"});
  EXPECT_TRUE(run.output.contains("File <Splash_config.xml> was not found>.")) << run.output.toStdString();
  WriteText(StartDir() / "Splash_config.xml", "<Heraldo><Application process_name=\"" + product_ + "\">");
  run = Launch({"--timeout-ms", "500"});
  EXPECT_TRUE(run.output.contains("Error file <Splash_config.xml>.")) << run.output.toStdString();
  EXPECT_FALSE(run.output.contains("splash"));
  QThread::msleep(300);
  EXPECT_EQ(Starts(), 0);
}

TEST_F(LauncherProcessTest, ConfigAndProgramNextToTheLauncherAreFound) {
  fs::rename(StartDir() / product_, LauncherDir() / product_);
  fs::rename(StartDir() / "splash.png", LauncherDir() / "splash.png");
  WriteConfig("splash.png", {}, LauncherDir());
  const fs::path elsewhere = Root() / "elsewhere";
  fs::create_directory(elsewhere);
  const LaunchRun run = Launch({"--timeout-ms", "500"}, 0, 2000, elsewhere);
  EXPECT_TRUE(run.output.contains("splash 480x270")) << run.output.toStdString();
  ASSERT_TRUE(Eventually([&] { return Starts() == 1; }));
}

TEST_F(LauncherProcessTest, WrongRootLeavesNothingToStart) {
  WriteText(StartDir() / "Splash_config.xml", "<Launcher><Application process_name=\"" + product_ + "\"/></Launcher>");
  const LaunchRun run = Launch({"--timeout-ms", "500"});
  EXPECT_TRUE(run.output.contains("Can't Execute 2. Finish Heraldo")) << run.output.toStdString();
  EXPECT_TRUE(run.output.contains("update check"));  // the check still runs after that message
  EXPECT_FALSE(run.output.contains("splash "));
}

TEST_F(LauncherProcessTest, MissingProgramIsReportedWithItsPathAndCode) {
  fs::remove(StartDir() / product_);
  WriteConfig();
  const LaunchRun run = Launch({"--timeout-ms", "500"});
  EXPECT_TRUE(run.output.contains(QString::fromStdString("Can't Execute " + product_ + "2. Finish Heraldo")))
      << run.output.toStdString();
}

TEST_F(LauncherProcessTest, NewerPublishedVersionIsOfferedAndItsInstallerSaved) {
  WriteText(StartDir() / "tv.dat", "v4.11\n03.08.2021\n 0 4 11 430 0\n");
  WriteText(Root() / "published.ini", "[" + product_ + "]\nversion=4.12\ndate=02.02.2022\n");
  WriteText(Root() / "Setup.run", "installer");
  const std::string root = "file://" + Root().string();
  WriteConfig("splash.png", "  <Update address=\"" + root + "/published.ini\" installer=\"" + root + "/Setup.run\"/>\n");
  messages_ = "stderr-yes";
  const LaunchRun run = Launch({"--timeout-ms", "500"}, 0, 2000);
  EXPECT_TRUE(run.output.contains("A newer version of the program is available (4.12, 02.02.2022). Download it now?"))
      << run.output.toStdString();
  EXPECT_TRUE(run.output.contains("installer was saved as")) << run.output.toStdString();
  EXPECT_TRUE(fs::exists(LauncherDir() / "Setup.run"));
  EXPECT_FALSE(fs::exists(LauncherDir() / "ToolList.txt"));
}

// The real program with its own home starts the launcher with its own semaphore name; the
// launcher leaves once the program has loaded its tables and signalled.
TEST(LauncherWithMainProgramTest, MainProgramStartsTheLauncherAndEndsItsWait) {
  if (FindProcessByName("Heraldo") != 0) GTEST_SKIP() << "another Heraldo runs; the program would not start ours";
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  WriteText(ToPath(home.path()) / "Ferrox6Plus.ini", "[Splash]\nUse=1\n");
  QProcess program;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HERALDO_MESSAGES", "stderr");
  env.insert("HERALDO_TRACE", "1");
  program.setProcessEnvironment(env);
  program.start(FERROX_PATH, {"--home", home.path()});
  ASSERT_TRUE(program.waitForStarted());

  int launcher = 0;
  std::string eventName;
  ASSERT_TRUE(Eventually([&] { return (launcher = LauncherGivenAnEvent(eventName)) != 0; }, 30000));
  EXPECT_TRUE(eventName.starts_with("/Ferrox6PlusEvent-")) << eventName;

  QElapsedTimer waited;
  waited.start();
  const bool ended = Eventually([&] { return !Alive(launcher); }, 60000);
  EXPECT_TRUE(ended);
  EXPECT_LT(waited.elapsed(), 55000);  // ended by the signal, not the launcher's time-out
  EXPECT_EQ(program.state(), QProcess::Running);
  program.terminate();
  if (!program.waitForFinished(10000)) program.kill();
  program.waitForFinished();
  // The launcher writes to the program's error output, which it inherited.
  const QString output = QString::fromUtf8(program.readAllStandardError());
  EXPECT_TRUE(output.contains("found Ferrox6Plus running")) << output.toStdString();
  EXPECT_TRUE(output.contains("splash 480x270")) << output.toStdString();
  EXPECT_TRUE(output.contains("ms, signalled")) << output.toStdString();
  sem_unlink(eventName.c_str());
}

}  // namespace
}  // namespace ferrox::launcher

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
