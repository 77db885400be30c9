#pragma once
// Import of a registry export (.reg) of the program's settings, as written on Windows.

#include <QSettings>
#include <filesystem>

namespace ferrox {

// Copies the values under HKEY_CURRENT_USER\Software\Halvard\Ferrox6Plus into settings,
// each subkey becoming a group. Only DWORD and string values are taken; key and value
// deletions are applied. Returns the number of values written, -1 when the file cannot be
// read or is not a registry export.
int ImportRegFile(const std::filesystem::path& regFile, QSettings& settings);

}  // namespace ferrox
