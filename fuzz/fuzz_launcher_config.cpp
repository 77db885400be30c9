// The launcher's "Splash_config.xml": any bytes give settings or nothing, never a crash;
// settings written out read back the same; names formed from them stay well shaped.
#include <QByteArray>
#include <QDomDocument>

#include "fuzz/FuzzSupport.h"
#include "launcher/LauncherConfig.h"

namespace {

using namespace ferrox::launcher;

void CheckNames(const LaunchSettings& settings) {
  const QString product = ProductName(settings.processPath);
  FUZZ_CHECK(!product.contains(u'/') && !product.contains(u'\\'));
  const std::string event = EventNameFor(product);
  FUZZ_CHECK(event.starts_with('/') && event.ends_with("Event"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QDomDocument doc;
  const bool loaded = LoadLauncherConfig(bytes, doc);
  const LaunchSettings settings = ReadLauncherConfig(bytes);
  if (!loaded || doc.documentElement().tagName() != QLatin1String("Heraldo"))
    FUZZ_CHECK(settings == LaunchSettings{});
  FUZZ_CHECK(ReadLauncherConfig(doc.documentElement()) == settings);

  const QByteArray written = WriteLauncherConfig(settings);
  QDomDocument again;
  FUZZ_CHECK(LoadLauncherConfig(written, again));
  FUZZ_CHECK(ReadLauncherConfig(again.documentElement()) == settings);
  FUZZ_CHECK(WriteLauncherConfig(ReadLauncherConfig(written)) == written);
  CheckNames(settings);
  return 0;
}
