#include "launcher/Launcher.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

#include "app/services/PathText.h"
#include "app/services/ProcessList.h"
#include "launcher/LauncherConfig.h"
#include "launcher/UpdateCheck.h"
#include "quillet/Files.h"

namespace ferrox::launcher {
namespace {

constexpr std::uintmax_t kMaxConfigBytes = 1 << 20;
// A splash picture is a few hundred kilobytes; this bounds what a wrong name can make us read.
constexpr std::uintmax_t kMaxPictureBytes = 32u << 20;

// The picture at path, read without waiting (a FIFO or a device there is no picture).
QImage ReadPicture(const QString& path) {
  const auto bytes = quillet::ReadRegularFile(ToPath(path), kMaxPictureBytes);
  return bytes ? QImage::fromData(QByteArray::fromStdString(*bytes)) : QImage();
}
constexpr int kStarted = 42;
constexpr int kNotStarted = 2;

// Like the shell: a bare name is looked for in the current folder, then next to us, then
// on the PATH.
QString ResolveProgram(const QString& processPath, const std::filesystem::path& ownDir) {
  if (processPath.contains(u'/')) return processPath;
  if (QFileInfo(processPath).isFile()) return QFileInfo(processPath).absoluteFilePath();
  const QString besideUs = ToQString(ownDir / ToPath(processPath));
  if (QFileInfo(besideUs).isFile()) return besideUs;
  return processPath;
}

}  // namespace

CLauncher::CLauncher(LauncherOptions options, CLauncherMessages& messages)
    : options_(std::move(options)), messages_(messages) {}

void CLauncher::RunLauncher() {
  startDir_ = QDir::currentPath();
  ownDir_ = quillet::GetExecDir();
  dataDir_ = quillet::GetDataDir();
  if (!ClaimStartFolder()) return;
  const bool read = ReadConfig();
  QDir::setCurrent(startDir_);
  if (!read) return;

  const QString product = ProductName(settings_.processPath);
  const std::string eventName = options_.eventName.empty() ? EventNameFor(product) : options_.eventName;
  if (event_.Open(eventName)) event_.Reset();
  Trace(QStringLiteral("event %1 %2").arg(QString::fromStdString(eventName), event_.IsOpen() ? "open" : "missing"));

  resultCode_ = StartOrFind(product);
  if (!options_.picture.isEmpty()) settings_.picturePath = options_.picture;
  if (resultCode_ <= 32) {
    messages_.showMessage("Can't Execute " + settings_.processPath + QString::number(resultCode_) +
                          ". Finish Heraldo");
  } else if (!ShowSplash()) {
    return;
  }
  CheckForUpdate(product);
  WaitForMainProgram();
  QDir::setCurrent(startDir_);
}

bool CLauncher::ClaimStartFolder() {
  // The lock lives in the user's runtime folder, named after the start folder, which may
  // be read-only.
  const QByteArray key = QCryptographicHash::hash(startDir_.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  const QString lock = QStringLiteral("%1/Heraldo-%2.lock").arg(folder, QString::fromLatin1(key));
  instance_ = std::make_unique<SingleInstance>(ToPath(lock));
  if (instance_->TryClaim() != SingleInstance::Claim::Taken) return true;
  Trace(QStringLiteral("another launcher runs for %1").arg(startDir_));
  return false;
}

bool CLauncher::FindConfig() {
  if (QFileInfo::exists(kConfigFileName)) return true;
  QDir::setCurrent(ToQString(dataDir_));
  return QFileInfo::exists(kConfigFileName);
}

bool CLauncher::ReadConfig() {
  if (!FindConfig()) {
    messages_.showMessage(QStringLiteral("File <Splash_config.xml> was not found>."));
    return false;
  }
  const auto bytes = quillet::ReadRegularFile(kConfigFileName, kMaxConfigBytes);
  QDomDocument doc;
  if (!bytes || !LoadLauncherConfig(QByteArray::fromStdString(*bytes), doc)) {
    messages_.showMessage(QStringLiteral("Error file <Splash_config.xml>."));
    return false;
  }
  settings_ = ReadLauncherConfig(doc.documentElement());
  return true;
}

int CLauncher::StartOrFind(const QString& product) {
  const std::string fileName =
      QString::fromStdWString(quillet::LastName(settings_.processPath.toStdWString())).toStdString();
  if (const int pid = fileName.empty() ? 0 : FindProcessByName(fileName); pid != 0) {
    Trace(QStringLiteral("found %1 running as %2").arg(product).arg(pid));
    return kAlreadyRunning;
  }
  const int code = StartProgram(settings_.processPath, ownDir_);
  Trace(QStringLiteral("start %1 gives %2").arg(settings_.processPath).arg(code));
  return code;
}

int CLauncher::StartProgram(const QString& processPath, const std::filesystem::path& ownDir) {
  if (processPath.isEmpty()) return kNotStarted;
  const QString program = ResolveProgram(processPath, ownDir);
  return QProcess::startDetached(program, {}, QDir::currentPath()) ? kStarted : kNotStarted;
}

bool CLauncher::LoadPicture(QPixmap& picture) {
  QImage image = ReadPicture(settings_.picturePath);
  if (image.isNull()) {
    QDir::setCurrent(ToQString(dataDir_));
    image = ReadPicture(settings_.picturePath);
  }
  picture = QPixmap::fromImage(image);
  return !picture.isNull();
}

bool CLauncher::ShowSplash() {
  QPixmap picture;
  if (settings_.picturePath.isEmpty() || !LoadPicture(picture)) {
    messages_.showMessage(QStringLiteral("Невозможно найти изображение ") + settings_.picturePath +
                          QStringLiteral(". Закрытие Heraldo"));
    return false;
  }
  splash_ = std::make_unique<CSplash>(picture);
  splash_->ShowOnce();
  QDir::setCurrent(startDir_);
  Trace(QStringLiteral("splash %1x%2").arg(picture.width()).arg(picture.height()));
  return true;
}

void CLauncher::CheckForUpdate(const QString& product) {
  const CUpdateCheck check({settings_.updateAddress, settings_.installerAddress}, ownDir_, messages_);
  const UpdateOutcome outcome = check.CheckForUpdate(product);
  Trace(QStringLiteral("update check %1").arg(static_cast<int>(outcome)));
}

void CLauncher::WaitForMainProgram() {
  QElapsedTimer waited;
  waited.start();
  const bool signalled = event_.Wait(options_.timeoutMs);
  event_.Close();
  Trace(QStringLiteral("waited %1 ms, %2").arg(waited.elapsed()).arg(signalled ? "signalled" : "not signalled"));
}

void CLauncher::Trace(const QString& line) const {
  if (!options_.trace) return;
  std::fprintf(stderr, "Heraldo: %s\n", line.toUtf8().constData());
  std::fflush(stderr);
}

}  // namespace ferrox::launcher
