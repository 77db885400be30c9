#include "quillet/InternetFile.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <system_error>

namespace quillet {
namespace {

constexpr long kConnectSeconds = 10;
constexpr long kTotalSeconds = 60;

bool CurlReady() {
  // Initialised once for the whole program; curl wants this before any other thread uses it.
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

size_t WriteToDescriptor(char* data, size_t size, size_t count, void* user) {
  const int fd = *static_cast<int*>(user);
  const size_t total = size * count;
  size_t done = 0;
  while (done < total) {
    const ssize_t n = ::write(fd, data + done, total - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return 0;  // tells curl to give up
    done += static_cast<size_t>(n);
  }
  return total;
}

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// A file:// address must name a regular file: curl reads a folder as an empty file, and
// opening a FIFO or a device would wait past every time limit.
bool NamesNoLocalFile(const std::string& url) {
  std::unique_ptr<CURLU, UrlDeleter> parts(curl_url());
  if (!parts || curl_url_set(parts.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return false;
  char* scheme = nullptr;
  char* path = nullptr;
  bool refused = false;
  if (curl_url_get(parts.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK && std::string_view(scheme) == "file") {
    struct stat st {};
    refused = curl_url_get(parts.get(), CURLUPART_PATH, &path, CURLU_URLDECODE) != CURLUE_OK ||
              ::stat(path, &st) != 0 || !S_ISREG(st.st_mode);
  }
  curl_free(scheme);
  curl_free(path);
  return refused;
}

bool Transfer(const std::string& url, int fd) {
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) return false;
  CURL* c = curl.get();
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,file");
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  // A redirect must not lead from the web to a local file.
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
  curl_easy_setopt(c, CURLOPT_TIMEOUT, kTotalSeconds);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, WriteToDescriptor);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &fd);
  return curl_easy_perform(c) == CURLE_OK;
}

// Temporary files of earlier downloads to the same target that never finished (the program
// was killed): older than any transfer may last, so no running download's file is taken.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  std::error_code ec;
  const std::string prefix = target.filename().string() + ".download-";
  const auto oldest = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(2 * kTotalSeconds);
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0 || !entry.is_regular_file(ec) || entry.is_symlink(ec)) continue;
    if (entry.last_write_time(ec) < oldest) std::filesystem::remove(entry.path(), ec);
  }
}

// A fresh temporary file in the target's folder, so the final rename stays on one disk.
int CreateTemporary(const std::filesystem::path& target, std::string& name) {
  name = target.string() + ".download-XXXXXX";
  const int fd = ::mkstemp(name.data());
  // mkstemp makes the file private; a downloaded file is as readable as any other we write.
  if (fd >= 0) ::fchmod(fd, 0644);
  return fd;
}

}  // namespace

int GetInternetFile(const std::string& url, const std::filesystem::path& localPath) {
  if (url.empty() || localPath.empty() || !CurlReady() || NamesNoLocalFile(url)) return 0;
  RemoveStaleTemporaries(localPath);
  std::string temporary;
  const int fd = CreateTemporary(localPath, temporary);
  if (fd < 0) return 0;
  const bool fetched = Transfer(url, fd);
  const bool closed = ::close(fd) == 0;
  if (fetched && closed && std::rename(temporary.c_str(), localPath.c_str()) == 0) return 1;
  ::unlink(temporary.c_str());
  return 0;
}

}  // namespace quillet
