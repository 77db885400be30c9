#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <vector>

#include "quillet/CountOfRanges.h"
#include "quillet/Files.h"
#include "quillet/Parallel.h"
#include "quillet/Random.h"
#include "quillet/Spec.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

using namespace quillet;

TEST(CardHelpers, NamesRanksAndMasks) {
  EXPECT_EQ(GetCardByName(L"As"), 51);
  EXPECT_EQ(GetCardByName(L"6c"), 4);
  EXPECT_EQ(GetCardByName(L"td"), GetCardByName(L"Td"));
  EXPECT_EQ(GetCardByName(L"Ax"), -1);
  EXPECT_EQ(GetCardByName(L"A"), -1);
  EXPECT_EQ(GetCardRankByName(L'a'), GetCardRankByName(L'A'));
  EXPECT_EQ(GetCardRankByName(L'|'), -1);
  EXPECT_EQ(GetCardRankByName(L'6'), 4);
  EXPECT_EQ(GetInverseCardRank(0), 12);
  EXPECT_EQ(GetInverseCardRank(CCard(GetCardByName(L"6h"))), 8);
  EXPECT_TRUE(isSuit(GetCardByName(L"Ah"), GetCardByName(L"6h")));
  EXPECT_FALSE(isSuit(GetCardByName(L"Ah"), GetCardByName(L"6s")));

  const std::vector<int> cards = {51, 4, 20};
  const uint64_t mask = VecToInt64(cards);
  EXPECT_EQ(mask, (uint64_t{1} << 51) | (uint64_t{1} << 4) | (uint64_t{1} << 20));
  int back[64];
  ASSERT_EQ(Int64ToArray(mask, back), 3);
  EXPECT_EQ(std::vector<int>(back, back + 3), (std::vector<int>{4, 20, 51}));
  EXPECT_TRUE(isExist(20, cards.data(), 3));
  EXPECT_FALSE(isExist(21, cards.data(), 3));
}

TEST(CountOfRanges, ZeroExactlyWhenNoDisjointDealExists) {
  auto masks = [](const Spec& s) {
    std::vector<uint64_t> m;
    for (const auto& c : s.combos()) m.push_back(ComboMask(c));
    return m;
  };
  Spec aa;
  aa.AddPair(12);
  std::vector<uint64_t> lists[6] = {masks(aa), masks(aa)};
  EXPECT_EQ(CountOfRanges64(lists, 6, 0), 6 * 1);  // each AA leaves one AA
  const uint64_t board = VecToInt64(CardsOf("As Ad 6c"));
  EXPECT_EQ(CountOfRanges64(lists, 6, board), 0);
  lists[2] = masks(aa);
  EXPECT_EQ(CountOfRanges64(lists, 6, 0), 0) << "three players cannot all hold aces";

  Spec kk;
  kk.AddPair(11);
  std::vector<uint64_t> two[6] = {masks(aa), masks(kk)};
  EXPECT_EQ(CountOfRanges64(two, 6, 0), 36);
  std::vector<uint64_t> none[6];
  EXPECT_GT(CountOfRanges64(none, 6, 0), 0) << "no player is no constraint";

  Spec all;
  for (const auto& hc : AllClassesInMatrixOrder()) all.AddClass(hc);
  std::vector<uint64_t> six[6];
  for (auto& l : six) l = masks(all);
  EXPECT_EQ(CountOfRanges64(six, 6, 0), kCountOfRangesCap);
}

// Callers on several threads at once, each item starting a job of its own: every item of
// every job runs once, on a worker index below the threads asked for.
TEST(ParallelFor, JobsSideBySideAndInsideEachOtherRunEveryItemOnce) {
  constexpr int kCallers = 3, kOuter = 40, kInner = 25, kThreads = 3;
  std::vector<std::atomic<int>> runs(kCallers * kOuter * kInner);
  std::atomic<int> badWorker{0};
  auto caller = [&](int c) {
    ParallelFor(kOuter, kThreads, [&](int outer, int worker) {
      if (worker < 0 || worker >= kThreads) ++badWorker;
      ParallelFor(kInner, kThreads, [&](int inner, int w) {
        if (w < 0 || w >= kThreads) ++badWorker;
        ++runs[(c * kOuter + outer) * kInner + inner];
      });
    });
  };
  std::vector<std::thread> callers;
  for (int c = 0; c < kCallers; ++c) callers.emplace_back(caller, c);
  for (auto& t : callers) t.join();
  EXPECT_EQ(badWorker.load(), 0);
  for (std::size_t i = 0; i < runs.size(); ++i) ASSERT_EQ(runs[i].load(), 1) << i;
}

TEST(EasyRandom, DrawsUniformlyInTheIntervalAndRepeatsWithASeed) {
  EasyRandom rng(42);
  rng.SetInterval(0, 35);
  std::vector<int> seen(36, 0);
  for (int i = 0; i < 36000; ++i) {
    const int n = rng.DrawRandomNumber();
    ASSERT_GE(n, 0);
    ASSERT_LE(n, 35);
    ++seen[n];
  }
  for (int count : seen) EXPECT_NEAR(count, 1000, 150);

  EasyRandom a(7), b(7), c;
  std::vector<uint64_t> va, vb;
  for (int i = 0; i < 5; ++i) va.push_back(a.Next()), vb.push_back(b.Next());
  EXPECT_EQ(va, vb);
  EasyRandom d;
  EXPECT_NE(c.Next(), d.Next()) << "timer seeds differ";

  for (int n : {0, 3, 5, 36}) {
    const uint64_t hand = GetRandomHand36(n, rng);
    EXPECT_EQ(__builtin_popcountll(hand), n);
    for (int card = 0; card < 64; ++card) {
      if (hand & (uint64_t{1} << card)) {
        EXPECT_TRUE(IsDeckCard(card));
      }
    }
  }
}

TEST(Files, LastNameAndExecDir) {
  EXPECT_EQ(LastName(L"C:\\Ranges\\SixPlus.txt"), L"SixPlus.txt");
  EXPECT_EQ(LastName(L"/home/u/order.txt"), L"order.txt");
  EXPECT_EQ(LastName(L"plain.txt"), L"plain.txt");
  EXPECT_TRUE(std::filesystem::is_directory(GetExecDir()));
}

TEST(Files, TrimLogFileKeepsWholeRecentLines) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("ferrox_trim_" + std::to_string(::getpid()) + ".log");
  {
    std::ofstream out(path);
    for (int i = 0; i < 2000; ++i) out << "line " << i << " of the old log\n";
  }
  const auto before = std::filesystem::file_size(path);
  EXPECT_TRUE(TrimLogFile(path, 1000, before + 1));
  EXPECT_EQ(std::filesystem::file_size(path), before) << "under the limit: untouched";
  EXPECT_TRUE(TrimLogFile(path, 1000, 5000));
  EXPECT_LE(std::filesystem::file_size(path), 1000u);
  std::ifstream in(path);
  std::string first, last, line;
  std::getline(in, first);
  while (std::getline(in, line)) last = line;
  EXPECT_EQ(first.rfind("line ", 0), 0u) << "starts at a whole line";
  EXPECT_EQ(last, "line 1999 of the old log");
  std::ofstream(path, std::ios::app) << "appended\n";
  EXPECT_FALSE(TrimLogFile(path.string() + ".missing", 10, 20));
  std::filesystem::remove(path);
}

TEST(Files, ReadersTakeOnlyRegularFilesOfASaneSize) {
  const auto dir = std::filesystem::temp_directory_path() / ("ferrox_read_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "small.txt") << "twelve bytes";
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir / "small.txt", dir / "link");

  EXPECT_EQ(ReadRegularFile(dir / "small.txt", 12).value_or("?"), "twelve bytes");
  EXPECT_EQ(ReadRegularFile(dir / "link", 12).value_or("?"), "twelve bytes") << "a link to a file is that file";
  std::string error;
  EXPECT_FALSE(ReadRegularFile(dir / "small.txt", 11, &error));
  EXPECT_EQ(error, "file too large");
  EXPECT_FALSE(ReadRegularFile(dir / "fifo", 100, &error)) << "returns at once instead of waiting for a writer";
  EXPECT_EQ(error, "not a regular file");
  EXPECT_FALSE(ReadRegularFile(dir, 100));
  EXPECT_FALSE(ReadRegularFile(dir / "missing", 100));
  EXPECT_TRUE(IsRegularFileWithin(dir / "link", 12));
  EXPECT_FALSE(IsRegularFileWithin(dir / "fifo", 100));
  EXPECT_FALSE(TrimLogFile(dir / "fifo", 10, 20));
  std::filesystem::remove_all(dir);
}

TEST(Files, AtomicWritesReplaceWholeAndFollowNoLink) {
  const auto dir = std::filesystem::temp_directory_path() / ("ferrox_write_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "victim") << "keep";
  std::filesystem::create_symlink(dir / "victim", dir / "out.txt");
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(dir / "out.txt", "new text", error)) << error;
  EXPECT_EQ(ReadRegularFile(dir / "victim", 100).value_or("?"), "keep");
  EXPECT_EQ(ReadRegularFile(dir / "out.txt", 100).value_or("?"), "new text");
  ASSERT_TRUE(WriteFileAtomically(dir / "out.txt", "", error));
  EXPECT_EQ(ReadRegularFile(dir / "out.txt", 100).value_or("?"), "");
  EXPECT_FALSE(WriteFileAtomically(dir / "no" / "such" / "folder", "x", error));
  EXPECT_EQ(error, std::strerror(ENOENT));
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++files;
  EXPECT_EQ(files, 2) << "no temporary file left behind";
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ferrox::testing
