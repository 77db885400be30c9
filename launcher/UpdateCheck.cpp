#include "launcher/UpdateCheck.h"

#include <QUrl>
#include <system_error>

#include "app/services/Ini.h"
#include "app/services/PathText.h"
#include "launcher/UpdateTexts.h"
#include "launcher/VersionStamp.h"
#include "quillet/Files.h"
#include "quillet/InternetFile.h"

namespace ferrox::launcher {
namespace {

constexpr std::uintmax_t kMaxVersionFileBytes = 64 * 1024;
constexpr const char* kPublishedFileName = "ToolList.txt";

// A file name that cannot climb out of the launcher's folder.
QString SafeFileName(const QString& name) {
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return {};
  return name;
}

}  // namespace

CUpdateCheck::CUpdateCheck(UpdateSource source, std::filesystem::path launcherDir,
                           CLauncherMessages& messages)
    : source_(std::move(source)), launcherDir_(std::move(launcherDir)), messages_(messages) {}

UpdateOutcome CUpdateCheck::CheckForUpdate(const QString& product,
                                           const std::filesystem::path& versionFile) const {
  if (source_.address.isEmpty()) return UpdateOutcome::NoAddress;
  const auto localText = quillet::ReadRegularFile(versionFile, kMaxVersionFileBytes);
  const auto local = localText ? ReadVersionFile(*localText) : std::nullopt;
  if (!local) return UpdateOutcome::NoVersionFile;

  const std::filesystem::path published = launcherDir_ / kPublishedFileName;
  if (!quillet::GetInternetFile(source_.address.toStdString(), published))
    return UpdateOutcome::DownloadFailed;
  const CIni ini(published);
  const std::wstring section = product.toStdWString();
  const QString version = QString::fromStdWString(ini.GetString(section, L"version", L""));
  const QString date = QString::fromStdWString(ini.GetString(section, L"date", L""));
  const VersionStamp remote = ReadPublishedVersion(published, section);
  std::error_code ec;
  std::filesystem::remove(published, ec);

  if (!IsNewer(remote, *local)) return UpdateOutcome::UpToDate;
  return Offer(product, local->language, version, date);
}

std::filesystem::path CUpdateCheck::InstallerFile(const QString& product) const {
  QString name = SafeFileName(QUrl(source_.installer).fileName());
  if (name.isEmpty()) name = product + "Setup";
  return launcherDir_ / ToPath(name);
}

UpdateOutcome CUpdateCheck::Offer(const QString& product, int language, const QString& version,
                                  const QString& date) const {
  const MessageText offer = UpdateOfferText(product, language, version, date);
  if (!messages_.askYesNo(offer.text, offer.caption, kOfferMs)) return UpdateOutcome::Declined;
  const std::filesystem::path installer = InstallerFile(product);
  if (!source_.installer.isEmpty() &&
      quillet::GetInternetFile(source_.installer.toStdString(), installer)) {
    const MessageText saved = UpdateSavedText(product, language, ToQString(installer));
    messages_.inform(saved.text, saved.caption, kSavedMs);
    return UpdateOutcome::Saved;
  }
  const MessageText failed = UpdateFailedText(product, language);
  messages_.inform(failed.text, failed.caption, kFailedMs);
  return UpdateOutcome::SaveFailed;
}

}  // namespace ferrox::launcher
