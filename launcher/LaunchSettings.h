#pragma once
// What "Splash_config.xml" tells the launcher. Every text starts empty.

#include <QString>

namespace ferrox::launcher {

struct LaunchSettings {
  QString picturePath;       // Picture/path, replaced by a picture named on the command line
  QString processPath;       // Application/process_name: the program to start
  QString workDirectory;     // Application/work_directory: kept, not used
  QString eventName;         // Application/event_name: kept, the name comes from the program
  QString updateAddress;     // Update/address: the published version file; empty skips the check
  QString installerAddress;  // Update/installer: where the new installer is downloaded from

  bool operator==(const LaunchSettings&) const = default;
};

}  // namespace ferrox::launcher
