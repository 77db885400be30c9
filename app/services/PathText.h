#pragma once
// Conversions between std::filesystem paths and Qt file names.

#include <QFile>
#include <QString>
#include <filesystem>

namespace ferrox {

inline QString ToQString(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

inline std::filesystem::path ToPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

}  // namespace ferrox
