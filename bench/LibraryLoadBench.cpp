// How long a large range library takes to load and show in the range tree pane, and the
// peak memory it needs: a user library as large as the reader takes (16 MB) and an outline
// of 100,000 lines. Each case runs in a process of its own so that its peak is its own.
//
//   library_load_bench            both cases
//   library_load_bench library    the XML library only
//   library_load_bench outline    the outline only
#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "model/CalculatorDocument.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/RangeOutline.h"
#include "model/UserLibrary.h"
#include "model/UserLibraryModel.h"
#include "views/RangeView.h"
#include "views/ViewTree.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kOutlineLines = 100'000;

// Folders of 100 ranges each until the file is just under the reader's limit.
std::uintmax_t WriteLibrary(const std::string& path, int& ranges) {
  std::ofstream out(path, std::ios::binary);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<User-defined-ranges>\n";
  std::uintmax_t size = 64;
  const std::uintmax_t limit = ferrox::kUserLibraryMaxBytes - 4096;
  ranges = 0;
  for (int folder = 0; size < limit; ++folder) {
    std::string block = "\t<Folder name=\"Spot " + std::to_string(folder) + "\">\n";
    for (int i = 0; i < 100; ++i, ++ranges)
      block += "\t\t<Range RangeName=\"Range " + std::to_string(ranges) +
               "\" value=\"66+,A6s+,K7s+,Q8s+,J8s+,T8s+,97s+,87s,A8o+,KTo+,QTo+,JTo\" percent=\"47.94%\"/>\n";
    block += "\t</Folder>\n";
    if (size + block.size() >= limit) break;
    out << block;
    size += block.size();
  }
  out << "</User-defined-ranges>\n";
  return size;
}

void WriteOutline(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << "User-defined-ranges|2\r\n";
  for (int line = 1; line < kOutlineLines; ++line) {
    if (line % 100 == 1) out << "\tSpot " << line / 100 << "|10\r\n";
    else out << "\t\tRange " << line << "|20\r\n";
  }
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// The tree's items, a range's texts only when it was opened (asking for them makes them).
int ShownItems(const ferrox::CViewTree* tree, const QModelIndex& parent = {}) {
  int items = 0;
  const QAbstractItemModel* model = tree->model();
  for (int row = 0; row < model->rowCount(parent); ++row) {
    const QModelIndex item = model->index(row, 0, parent);
    ++items;
    if (ferrox::CViewTree::Code(item) != ferrox::kRangeItem || tree->isExpanded(item)) items += ShownItems(tree, item);
  }
  return items;
}

int RunCase(const char* kind, int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir folder;
  ferrox::CalculatorDocument cards;
  ferrox::PaneSettings settings;
  ferrox::HandsModel hands(cards, settings);
  ferrox::UserLibrary library((folder.path() + "/UserRanges.xml").toStdString());
  ferrox::UserLibraryModel model(library);
  ferrox::CRangeView view(&model, &hands, &settings);
  view.resize(300, 800);
  view.show();
  QApplication::processEvents();

  const bool isLibrary = std::strcmp(kind, "library") == 0;
  const std::string path = (folder.path() + (isLibrary ? "/Large.xml" : "/Large.txt")).toStdString();
  int ranges = 0;
  std::uintmax_t bytes = 0;
  if (isLibrary) bytes = WriteLibrary(path, ranges);
  else WriteOutline(path);

  const long before = PeakMegabytes();
  const auto start = Clock::now();
  bool ok = true;
  if (isLibrary) {
    ok = view.Load(path).ok;
  } else {
    ok = view.LoadOutlineFile(QString::fromStdString(path));
  }
  QApplication::processEvents();  // the tree lays out and paints what shows
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const int items = ShownItems(view.Tree());
  if (isLibrary)
    std::printf("library: %.1f MB, %d ranges, %d items shown: loaded and shown in %.2f s, peak %ld MB "
                "(%ld MB before)\n",
                bytes / 1048576.0, ranges, items, seconds, PeakMegabytes(), before);
  else
    std::printf("outline: %d lines, %d items shown: loaded and shown in %.2f s, peak %ld MB (%ld MB before)\n",
                kOutlineLines, items, seconds, PeakMegabytes(), before);
  std::fflush(stdout);  // the child ends with _exit
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) return RunCase(argv[1], argc, argv);
  int failed = 0;
  for (const char* kind : {"library", "outline"}) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) _exit(RunCase(kind, argc, argv));
    int status = 0;
    waitpid(child, &status, 0);
    failed += !WIFEXITED(status) || WEXITSTATUS(status) != 0;
  }
  return failed;
}
