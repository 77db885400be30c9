#pragma once
// Reading and writing "Splash_config.xml".

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include "launcher/LaunchSettings.h"

namespace ferrox::launcher {

inline constexpr const char* kConfigFileName = "Splash_config.xml";

// Parses the file's bytes into doc; false, and doc empty, when they are not well-formed XML.
bool LoadLauncherConfig(const QByteArray& bytes, QDomDocument& doc);
// The settings the root's child elements give. Names match exactly; a root not named
// "Heraldo" gives nothing; among repeated attributes the last one counts.
LaunchSettings ReadLauncherConfig(const QDomElement& root);
// Both steps at once; empty settings when the bytes are not XML.
LaunchSettings ReadLauncherConfig(const QByteArray& bytes);
// A file that reads back as settings.
QByteArray WriteLauncherConfig(const LaunchSettings& settings);

// The program's file name without its extension: "C:\\x\\App.exe" and "App" give "App".
QString ProductName(const QString& processPath);
// The hand-over semaphore the main program of that name creates.
std::string EventNameFor(const QString& product);

}  // namespace ferrox::launcher
