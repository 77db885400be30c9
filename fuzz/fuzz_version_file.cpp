// "tv.dat" against the published version file: any bytes in either never crash the
// comparison, and it stays an order: nothing is newer than itself, never newer both ways,
// and newer twice over is newer.
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "launcher/VersionStamp.h"

namespace {

using namespace ferrox::launcher;

void CheckOrder(const VersionStamp& a, const VersionStamp& b, const VersionStamp& c) {
  FUZZ_CHECK(!IsNewer(a, a));
  FUZZ_CHECK(!(IsNewer(a, b) && IsNewer(b, a)));
  if (IsNewer(a, b) && IsNewer(b, c)) FUZZ_CHECK(IsNewer(a, c));
  if (IsNewer(a, b)) FUZZ_CHECK(a.major && a.minor && b.major && b.minor);
}

VersionStamp Published(std::string_view ini, const std::wstring& product) {
  return ReadPublishedVersion(ferrox::fuzz::WriteScratch("ToolList.txt", ini), product);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The bytes up to the first NUL are "tv.dat", the rest the published file.
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto cut = bytes.find('\0');
  const std::string_view local = bytes.substr(0, cut);
  const std::string_view ini = cut == std::string_view::npos ? std::string_view() : bytes.substr(cut + 1);

  const auto installed = ReadVersionFile(local);
  const VersionStamp remote = Published(ini, L"Ferrox6Plus");
  const VersionStamp other = Published(ini, L"Orvell");
  const auto asLocal = ReadVersionFile(ini);
  const VersionStamp none;
  const VersionStamp a = installed.value_or(none), c = asLocal.value_or(none);
  CheckOrder(a, remote, other);
  CheckOrder(remote, a, c);
  CheckOrder(c, other, a);
  CheckOrder(other, c, remote);

  int major = 0, minor = 0;
  if (ParseVersionNumbers(local, major, minor)) FUZZ_CHECK(major >= 0 && minor >= 0);
  if (const auto date = ParseReleaseDate(local)) FUZZ_CHECK(std::chrono::year_month_day(*date).ok());
  return 0;
}
