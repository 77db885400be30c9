#pragma once
// Where the program finds its data and keeps its own files. FERROX_HOME (or --home DIR)
// puts settings, log and working files in one folder, so runs and tests leave the user's
// home alone.

#include <QSettings>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ferrox {

struct AppFolders {
  std::filesystem::path programDir;  // executables
  std::filesystem::path workDir;     // log, tv.dat, INI, .reg, ordering files the user chose
  std::filesystem::path home;        // the override folder, empty when none
  std::filesystem::path launcherDir; // where the splash launcher is looked for; empty: programDir
  std::filesystem::path dataDir;     // shipped data (orderings, libraries, INI); empty: programDir

  // From --home DIR in the arguments, else FERROX_HOME, else as ForInstallation finds for
  // the running program.
  static AppFolders FromEnvironment(int argc, char** argv);
  static AppFolders ForHome(const std::filesystem::path& home);
  // A program in programDir with its data in dataDir and no override: the working files go
  // next to the program when its data is there too and the folder is writable (the build,
  // an installation into one folder), else to the user's data folder (a system package,
  // whose folders are not the user's, not even root's).
  static AppFolders ForInstallation(const std::filesystem::path& programDir, const std::filesystem::path& dataDir);

  std::unique_ptr<QSettings> OpenSettings() const;
  std::filesystem::path SettingsFile() const;
  // Held by the program running on this home, next to the settings.
  std::filesystem::path LockFile() const { return SettingsFile().parent_path() / "Ferrox6Plus.lock"; }
  // The settings store reads its file as soon as it is made: a FIFO there would hang the
  // start, a huge file stall it. It also writes through a link at the file's name, into
  // whatever file that leads to. Such a file or link is renamed to "<name>.unreadable"
  // (returned) and the program starts with defaults; empty when there was nothing to set
  // aside.
  std::filesystem::path SetAsideUnreadableSettings() const;
  static constexpr std::uintmax_t kMaxSettingsBytes = 4u << 20;
  std::filesystem::path LauncherDir() const { return launcherDir.empty() ? programDir : launcherDir; }
  std::filesystem::path DataDir() const { return dataDir.empty() ? programDir : dataDir; }
  // The start-up options shipped with the program (in its data folder), and the user's own
  // copy, which wins key by key.
  std::filesystem::path ProgramIniFile() const { return DataDir() / "Ferrox6Plus.ini"; }
  std::filesystem::path IniFile() const { return workDir / "Ferrox6Plus.ini"; }
  std::filesystem::path LogFile() const { return workDir / "Ferrox6Plus.log"; }
  std::filesystem::path RegFile() const { return workDir / "Ferrox6Plus.reg"; }
  // The hand-over semaphore's name; a run with its own home gets its own.
  std::string EventName() const;
  // An ordering file given by name: in the work folder, else in the data folder.
  std::filesystem::path OrderingFile(const std::filesystem::path& name) const;
  // A range library file: relative names are in the work folder. A missing one that ships
  // with the program is copied there first, so a new user starts with a working library
  // (the copy is the one edited, the shipped file stays as it came).
  std::filesystem::path LibraryFile(const std::filesystem::path& name) const;
  // Removes the temporary files that writes of the program's files (log, tv.dat, the
  // preflop cache, the range libraries in the work folder) left when they were cut short;
  // a log line for each.
  std::vector<std::string> RemoveStaleTemporaries() const;
};

// The log line for a temporary file removed at start-up.
std::string RemovedTemporaryLine(const std::filesystem::path& file);

// The hand file named on the program's command line, made absolute; empty when none.
// "--home DIR" is the program's own option, not a file.
QString HandFileArgument(const QStringList& arguments);

}  // namespace ferrox
