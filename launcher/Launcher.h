#pragma once
// The whole run of the launcher: read "Splash_config.xml", start the main program unless it
// runs, show the picture, look for a newer version, wait for the main program's signal.

#include <QDir>
#include <QPixmap>
#include <QString>
#include <filesystem>
#include <memory>

#include "app/services/SingleInstance.h"
#include "launcher/HandoverEvent.h"
#include "launcher/LaunchSettings.h"
#include "launcher/LauncherMessages.h"
#include "launcher/LauncherOptions.h"
#include "launcher/Splash.h"

namespace ferrox::launcher {

class CLauncher {
 public:
  CLauncher(LauncherOptions options, CLauncherMessages& messages);

  void RunLauncher();

  // What the run found, for the caller and tests.
  const LaunchSettings& Settings() const { return settings_; }
  const CSplash* Splash() const { return splash_.get(); }
  int ResultCode() const { return resultCode_; }

  // Starts the program detached in the current folder: 42 when it started, 2 when not.
  static int StartProgram(const QString& processPath, const std::filesystem::path& ownDir);
  static constexpr int kAlreadyRunning = 100;

 private:
  // One launcher per start folder: two started at once would start two programs.
  bool ClaimStartFolder();
  bool ReadConfig();
  bool FindConfig();
  int StartOrFind(const QString& product);
  bool ShowSplash();
  bool LoadPicture(QPixmap& picture);
  void CheckForUpdate(const QString& product);
  void WaitForMainProgram();
  void Trace(const QString& line) const;

  LauncherOptions options_;
  CLauncherMessages& messages_;
  QString startDir_;
  std::filesystem::path ownDir_;   // where the program to start is looked for
  std::filesystem::path dataDir_;  // where the configuration and the picture are, unless in the start folder
  LaunchSettings settings_;
  CHandoverEvent event_;
  std::unique_ptr<SingleInstance> instance_;
  std::unique_ptr<CSplash> splash_;
  int resultCode_ = 0;
};

}  // namespace ferrox::launcher
