#pragma once
// The launcher's look at the published version file: compares it with "tv.dat", offers the
// newer version and downloads its installer next to the launcher (never starts it).

#include <QString>
#include <filesystem>

#include "launcher/LauncherMessages.h"

namespace ferrox::launcher {

enum class UpdateOutcome {
  NoAddress,       // nothing configured: no check
  NoVersionFile,   // "tv.dat" missing or without numbers
  DownloadFailed,  // the published file could not be fetched
  UpToDate,
  Declined,        // offered, answered No or left to close by itself
  Saved,           // installer downloaded
  SaveFailed,
};

struct UpdateSource {
  QString address;    // the published version file
  QString installer;  // the installer; its last path part names the saved file
};

class CUpdateCheck {
 public:
  CUpdateCheck(UpdateSource source, std::filesystem::path launcherDir, CLauncherMessages& messages);

  // versionFile is "tv.dat" in the current folder unless a test says otherwise.
  UpdateOutcome CheckForUpdate(const QString& product,
                               const std::filesystem::path& versionFile = "tv.dat") const;
  // Where the installer lands: the last part of its address, else "<product>Setup".
  std::filesystem::path InstallerFile(const QString& product) const;

  static constexpr int kOfferMs = 20000;
  static constexpr int kSavedMs = 10000;
  static constexpr int kFailedMs = 20000;

 private:
  UpdateOutcome Offer(const QString& product, int language, const QString& version,
                      const QString& date) const;

  UpdateSource source_;
  std::filesystem::path launcherDir_;
  CLauncherMessages& messages_;
};

}  // namespace ferrox::launcher
