#include "app/AppFolders.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <unistd.h>

#include "model/PredefinedRanges.h"
#include "model/UserLibrary.h"
#include "quillet/Files.h"
#include "quillet/PreflopTables.h"

namespace ferrox {

AppFolders AppFolders::ForHome(const std::filesystem::path& home) {
  std::error_code ec;
  std::filesystem::create_directories(home, ec);
  return {quillet::GetExecDir(), home, home, {}, quillet::GetDataDir()};
}

AppFolders AppFolders::FromEnvironment(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--home") == 0) return ForHome(argv[i + 1]);
  if (const char* home = std::getenv("FERROX_HOME"); home && *home) return ForHome(home);
  return ForInstallation(quillet::GetExecDir(), quillet::GetDataDir());
}

AppFolders AppFolders::ForInstallation(const std::filesystem::path& programDir, const std::filesystem::path& dataDir) {
  AppFolders folders{programDir, {}, {}, {}, dataDir};
  std::error_code ec;
  if (std::filesystem::equivalent(programDir, dataDir, ec) && ::access(programDir.c_str(), W_OK) == 0) {
    folders.workDir = programDir;
  } else {
    folders.workDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    std::filesystem::create_directories(folders.workDir, ec);
  }
  return folders;
}

QString HandFileArgument(const QStringList& arguments) {
  for (int i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--home")) {
      ++i;
      continue;
    }
    if (!arguments[i].startsWith('-')) return QFileInfo(arguments[i]).absoluteFilePath();
  }
  return {};
}

std::filesystem::path AppFolders::SettingsFile() const {
  if (!home.empty()) return home / "Ferrox6Plus.conf";
  const auto config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString();
  return std::filesystem::path(config) / "Halvard" / "Ferrox6Plus.conf";
}

std::filesystem::path AppFolders::SetAsideUnreadableSettings() const {
  const auto file = SettingsFile();
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(file, ec);
  if (!std::filesystem::exists(status) ||
      (!std::filesystem::is_symlink(status) && quillet::IsRegularFileWithin(file, kMaxSettingsBytes)))
    return {};
  auto aside = file;
  aside += ".unreadable";
  std::filesystem::rename(file, aside, ec);
  return ec ? std::filesystem::path() : aside;
}

std::unique_ptr<QSettings> AppFolders::OpenSettings() const {
  if (!home.empty())
    return std::make_unique<QSettings>(QString::fromStdString(SettingsFile().string()), QSettings::IniFormat);
  return std::make_unique<QSettings>("Halvard", "Ferrox6Plus");
}

std::string AppFolders::EventName() const {
  if (home.empty()) return "/Ferrox6PlusEvent";
  return "/Ferrox6PlusEvent-" + std::to_string(std::hash<std::string>{}(home.string()));
}

std::filesystem::path AppFolders::OrderingFile(const std::filesystem::path& name) const {
  if (name.is_absolute()) return name;
  std::error_code ec;
  if (std::filesystem::exists(workDir / name, ec)) return workDir / name;
  return DataDir() / name;
}

std::filesystem::path AppFolders::LibraryFile(const std::filesystem::path& name) const {
  if (name.is_absolute()) return name;
  const auto file = workDir / name;
  const auto shipped = DataDir() / name;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec) && !std::filesystem::equivalent(workDir, DataDir(), ec) &&
      std::filesystem::is_regular_file(shipped, ec))
    std::filesystem::copy_file(shipped, file, ec);
  return file;
}

std::vector<std::string> AppFolders::RemoveStaleTemporaries() const {
  std::vector<std::filesystem::path> removed;
  const auto collect = [&removed](const std::vector<std::filesystem::path>& more) {
    removed.insert(removed.end(), more.begin(), more.end());
  };
  for (const auto& file : {LogFile(), workDir / "tv.dat"}) collect(quillet::RemoveStaleTemporaries(file));
  for (const auto& cache : quillet::PreflopCacheFiles()) collect(quillet::RemoveStaleTemporaries(cache));
  // The range libraries are written where a link at their names leads.
  for (const char* library : {kUserLibraryFileName, kPredefinedRangesFileName})
    collect(quillet::RemoveStaleUserTemporaries(workDir / library));
  std::vector<std::string> lines;
  for (const auto& file : removed) lines.push_back(RemovedTemporaryLine(file));
  return lines;
}

std::string RemovedTemporaryLine(const std::filesystem::path& file) {
  return "Removed " + file.string() + ", left behind by a write that was cut short";
}

}  // namespace ferrox
