#include "quillet/PreflopTables.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "quillet/Evaluator.h"
#include "quillet/Files.h"
#include "quillet/Parallel.h"

namespace quillet {
namespace {

constexpr char kMagic[8] = {'F', '6', 'P', 'F', 'L', 'O', 'P', '1'};
constexpr const char* kCacheName = "Ferrox6Plus-preflop.bin";
constexpr int kTables = 6;  // targets 5, 4, 3 x rule sets 0, 1

int TableSlot(int target, int rules) { return (5 - target) * 2 + rules; }

// The matchup index: built once, read-only afterwards.
struct Index {
  std::vector<uint32_t> keys;          // sorted
  std::vector<int32_t> position;       // combo x combo -> index in keys, or -1
  std::array<int, 64 * 64> comboOf{};  // card x card -> combo 0..629, or -1
};

// Wins, ties per matchup, for each target and rule set.
using Counts = std::array<std::vector<uint32_t>, kTables>;

// Loaders take the mutex, one at a time; lookups never do. What a loader publishes is
// complete and never changes until FreePreflopTables (shutdown), so a lookup reads it
// without waiting for a ten-second computation to end.
std::mutex g_loadMutex;
std::unique_ptr<Index> g_ownedIndex;
std::unique_ptr<Counts> g_ownedCounts;
std::atomic<const Index*> g_index{nullptr};
std::atomic<const Counts*> g_counts{nullptr};

void BuildIndex(Index& t) {
  t.comboOf.fill(-1);
  std::vector<Combo> combos;
  const int* deck = SixPlusDeckCards();
  for (int i = 0; i < kDeckSize; ++i)
    for (int j = i + 1; j < kDeckSize; ++j) {
      t.comboOf[deck[i] * 64 + deck[j]] = t.comboOf[deck[j] * 64 + deck[i]] = static_cast<int>(combos.size());
      combos.push_back(MakeCombo(deck[i], deck[j]));
    }
  t.keys.clear();
  for (const Combo& h : combos)
    for (const Combo& o : combos)
      if (!(ComboMask(h) & ComboMask(o))) t.keys.push_back(MatchupKey(h.first, h.second, o.first, o.second));
  std::sort(t.keys.begin(), t.keys.end());
  t.position.assign(combos.size() * combos.size(), -1);
  for (int k = 0; k < static_cast<int>(t.keys.size()); ++k) {
    const uint32_t key = t.keys[k];
    const int h = t.comboOf[(key & 0xFF) * 64 + ((key >> 8) & 0xFF)];
    const int o = t.comboOf[((key >> 16) & 0xFF) * 64 + (key >> 24)];
    t.position[static_cast<std::size_t>(h) * combos.size() + o] = k;
  }
}

// --- computing the counts ----------------------------------------------------------------

std::array<std::array<int, 4>, 24> SuitPermutations() {
  std::array<std::array<int, 4>, 24> perms{};
  std::array<int, 4> p = {0, 1, 2, 3};
  int n = 0;
  do perms[n++] = p;
  while (std::next_permutation(p.begin(), p.end()));
  return perms;
}

using Permutation = std::array<int, 4>;

int Permuted(int card, const Permutation& perm) {
  return MakeCardIndex(GetCardRank(card), perm[GetCardSuit(card)]);
}

Combo Permuted(const Combo& c, const Permutation& perm) {
  return MakeCombo(Permuted(c.first, perm), Permuted(c.second, perm));
}

uint32_t PairKey(const Combo& c) { return static_cast<uint32_t>(c.first) << 8 | static_cast<uint32_t>(c.second); }

// One hero hand per class, and the opponents that differ up to the suit permutations that
// keep that hand: every matchup is one of these up to a renaming of suits.
struct HeroClass {
  Combo hero;
  std::vector<Permutation> keeping;  // suit permutations that map the hero onto itself
  std::vector<Combo> opponents;       // one per orbit
  std::unordered_map<uint32_t, int> orbitOf;  // canonical opponent -> index in opponents

  Combo CanonicalOpponent(const Combo& o) const {
    Combo best = o;
    for (const auto& perm : keeping) best = std::min(best, Permuted(o, perm));
    return best;
  }
};

std::vector<HeroClass> MakeHeroClasses(const std::array<Permutation, 24>& perms) {
  std::vector<HeroClass> classes;
  const int* deck = SixPlusDeckCards();
  for (const HandClass& hc : AllClassesInMatrixOrder()) {
    HeroClass c;
    c.hero = ClassCombos(hc).front();
    for (const auto& perm : perms)
      if (Permuted(c.hero, perm) == c.hero) c.keeping.push_back(perm);
    for (int i = 0; i < kDeckSize; ++i)
      for (int j = i + 1; j < kDeckSize; ++j) {
        const Combo o = MakeCombo(deck[i], deck[j]);
        if (ComboMask(o) & ComboMask(c.hero)) continue;
        const Combo canonical = c.CanonicalOpponent(o);
        if (c.orbitOf.emplace(PairKey(canonical), static_cast<int>(c.opponents.size())).second)
          c.opponents.push_back(canonical);
      }
    classes.push_back(std::move(c));
  }
  return classes;
}

using MatchupCounts = std::array<uint32_t, 2 * kTables>;

// Wins and ties of the class's hero against each of its opponents on every board of 3, 4
// and 5 cards, both rule sets at once: each board is walked once for all opponents, the
// 3- and 4-card boards being the prefixes of the 5-card walk.
std::vector<MatchupCounts> CountHeroClass(const HeroClass& c) {
  const int n = static_cast<int>(c.opponents.size());
  std::vector<MatchupCounts> out(n, MatchupCounts{});
  std::vector<uint64_t> oppKeys(n), oppMasks(n);
  for (int r = 0; r < n; ++r) {
    oppMasks[r] = ComboMask(c.opponents[r]);
    oppKeys[r] = kKeyStart + KeyOf(c.opponents[r].first) + KeyOf(c.opponents[r].second);
  }
  const uint64_t heroMask = ComboMask(c.hero);
  const uint64_t heroKey = kKeyStart + KeyOf(c.hero.first) + KeyOf(c.hero.second);
  std::array<uint64_t, kDeckSize> keys{}, masks{};
  int open = 0;
  for (int i = 0; i < kDeckSize; ++i) {
    const int card = SixPlusDeckCards()[i];
    if (heroMask & CardBit(card)) continue;
    keys[open] = KeyOf(card);
    masks[open++] = CardBit(card);
  }
  const DualEvaluator eval;
  auto judge = [&](int target, uint64_t k, uint64_t m) {
    const uint32_t hero = eval(heroKey + k, heroMask | m);
    const uint32_t heroStd = hero & 0xFFFF, heroOther = hero >> 16;
    const int slotStd = 2 * TableSlot(target, 0), slotOther = 2 * TableSlot(target, 1);
    for (int r = 0; r < n; ++r) {
      if (oppMasks[r] & m) continue;
      const uint32_t opp = eval(oppKeys[r] + k, oppMasks[r] | m);
      const uint32_t oppStd = opp & 0xFFFF, oppOther = opp >> 16;
      MatchupCounts& counts = out[r];
      counts[slotStd] += heroStd > oppStd;
      counts[slotStd + 1] += heroStd == oppStd;
      counts[slotOther] += heroOther > oppOther;
      counts[slotOther + 1] += heroOther == oppOther;
    }
  };
  for (int a = 0; a < open; ++a)
    for (int b = a + 1; b < open; ++b)
      for (int d = b + 1; d < open; ++d) {
        const uint64_t k3 = keys[a] + keys[b] + keys[d], m3 = masks[a] | masks[b] | masks[d];
        judge(3, k3, m3);
        for (int e = d + 1; e < open; ++e) {
          const uint64_t k4 = k3 + keys[e], m4 = m3 | masks[e];
          judge(4, k4, m4);
          for (int f = e + 1; f < open; ++f) judge(5, k4 + keys[f], m4 | masks[f]);
        }
      }
  return out;
}

void ComputeCounts(const Index& t, Counts& out) {
  const auto perms = SuitPermutations();
  const std::vector<HeroClass> classes = MakeHeroClasses(perms);
  std::vector<std::vector<MatchupCounts>> results(classes.size());
  ParallelFor(static_cast<int>(classes.size()), HardwareThreads(),
              [&](int i, int) { results[i] = CountHeroClass(classes[i]); });

  std::unordered_map<uint32_t, int> classIndex;
  for (int i = 0; i < static_cast<int>(classes.size()); ++i)
    classIndex[MatrixCell(ClassOfCombo(classes[i].hero.first, classes[i].hero.second))] = i;
  for (auto& table : out) table.assign(2 * t.keys.size(), 0);
  for (std::size_t k = 0; k < t.keys.size(); ++k) {
    const uint32_t key = t.keys[k];
    const Combo hero = MakeCombo(key & 0xFF, (key >> 8) & 0xFF);
    const Combo opp = MakeCombo((key >> 16) & 0xFF, key >> 24);
    const HeroClass& c = classes[classIndex.at(MatrixCell(ClassOfCombo(hero.first, hero.second)))];
    // Rename suits so that the hero becomes the class's hand; the opponent follows.
    const auto perm = std::find_if(perms.begin(), perms.end(),
                                   [&](const Permutation& p) { return Permuted(hero, p) == c.hero; });
    const int orbit = c.orbitOf.at(PairKey(c.CanonicalOpponent(Permuted(opp, *perm))));
    const MatchupCounts& counts = results[&c - classes.data()][orbit];
    for (int slot = 0; slot < kTables; ++slot) {
      out[slot][2 * k] = counts[2 * slot];
      out[slot][2 * k + 1] = counts[2 * slot + 1];
    }
  }
}

// --- the cache file ----------------------------------------------------------------------
// Layout: magic, matchup count, the keys, the six count tables, a checksum of keys and
// counts. Host byte order: the file is a cache, rebuilt when it does not fit.

uint64_t Checksum(const std::vector<uint32_t>& data, uint64_t h) {
  for (uint32_t v : data) h = (h ^ v) * 0x100000001B3ull;
  return h;
}

uint64_t ChecksumOf(const Index& index, const Counts& counts) {
  uint64_t h = Checksum(index.keys, 0xCBF29CE484222325ull);
  for (const auto& table : counts) h = Checksum(table, h);
  return h;
}

std::size_t ImageSize(const Index& index) {
  return sizeof kMagic + sizeof(uint32_t) + index.keys.size() * 4 * (1 + 2 * kTables) + sizeof(uint64_t);
}

bool Plausible(const Counts& counts, std::size_t matchups) {
  for (int slot = 0; slot < kTables; ++slot) {
    const uint32_t boards = PreflopBoards(5 - slot / 2);
    for (std::size_t k = 0; k < matchups; ++k)
      if (uint64_t{counts[slot][2 * k]} + counts[slot][2 * k + 1] > boards) return false;
  }
  return true;
}

// Reads the fixed layout front to back; every read is bounds-checked by the caller's
// size test.
class ImageReader {
 public:
  explicit ImageReader(std::string_view image) : image_(image) {}
  void Read(void* out, std::size_t bytes) {
    std::memcpy(out, image_.data() + at_, bytes);
    at_ += bytes;
  }

 private:
  std::string_view image_;
  std::size_t at_ = 0;
};

// Counts from a cache image, only when it is whole and consistent with the index.
bool ParseImage(std::string_view image, const Index& index, Counts& out) {
  if (image.size() != ImageSize(index)) return false;
  ImageReader reader(image);
  char magic[sizeof kMagic];
  uint32_t matchups = 0;
  reader.Read(magic, sizeof magic);
  reader.Read(&matchups, sizeof matchups);
  if (std::memcmp(magic, kMagic, sizeof magic) != 0 || matchups != index.keys.size()) return false;
  std::vector<uint32_t> keys(index.keys.size());
  reader.Read(keys.data(), keys.size() * 4);
  if (keys != index.keys) return false;
  Counts counts;
  for (auto& table : counts) {
    table.resize(2 * index.keys.size());
    reader.Read(table.data(), table.size() * 4);
  }
  uint64_t checksum = 0;
  reader.Read(&checksum, sizeof checksum);
  if (checksum != ChecksumOf(index, counts) || !Plausible(counts, index.keys.size())) return false;
  out = std::move(counts);
  return true;
}

std::string MakeImage(const Index& index, const Counts& counts) {
  std::string image;
  image.reserve(ImageSize(index));
  const auto put = [&](const void* data, std::size_t bytes) {
    image.append(static_cast<const char*>(data), bytes);
  };
  const auto matchups = static_cast<uint32_t>(index.keys.size());
  const uint64_t checksum = ChecksumOf(index, counts);
  put(kMagic, sizeof kMagic);
  put(&matchups, sizeof matchups);
  put(index.keys.data(), index.keys.size() * 4);
  for (const auto& table : counts) put(table.data(), table.size() * 4);
  put(&checksum, sizeof checksum);
  return image;
}

bool ReadCache(const std::filesystem::path& file, const Index& index, Counts& out) {
  const auto image = ReadRegularFile(file, ImageSize(index));
  return image && ParseImage(*image, index, out);
}

bool WriteCache(const std::filesystem::path& file, const Index& index, const Counts& counts) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::string error;
  return WriteFileAtomically(file, MakeImage(index, counts), error);
}

std::filesystem::path UserCacheFile() {
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
    return std::filesystem::path(xdg) / "Ferrox6Plus" / kCacheName;
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".cache" / "Ferrox6Plus" / kCacheName;
  return std::filesystem::temp_directory_path() / "Ferrox6Plus" / kCacheName;
}

std::vector<std::filesystem::path> CacheCandidates() {
  const char* dir = std::getenv("FERROX_CACHE_DIR");
  if (dir && *dir) return {std::filesystem::path(dir) / kCacheName};
  return {GetDataDir() / kCacheName, UserCacheFile()};
}

// Under g_loadMutex.
const Index& EnsureIndex() {
  if (const Index* index = g_index.load(std::memory_order_acquire)) return *index;
  auto index = std::make_unique<Index>();
  BuildIndex(*index);
  g_ownedIndex = std::move(index);
  fsm5::ET2I_6 = g_ownedIndex->keys.data();
  g_index.store(g_ownedIndex.get(), std::memory_order_release);
  return *g_ownedIndex;
}

// Under g_loadMutex: the cache when it is sound, else computed and cached.
const Counts& EnsureCounts(const Index& index) {
  if (const Counts* counts = g_counts.load(std::memory_order_acquire)) return *counts;
  auto counts = std::make_unique<Counts>();
  const auto candidates = CacheCandidates();
  bool read = false;
  for (const auto& file : candidates)
    if ((read = ReadCache(file, index, *counts))) break;
  if (!read) {
    ComputeCounts(index, *counts);
    for (const auto& file : candidates)
      if (WriteCache(file, index, *counts)) break;  // the first place we may write to
  }
  g_ownedCounts = std::move(counts);
  fsm5::FT2R_6 = (*g_ownedCounts)[TableSlot(5, 0)].data();
  fsm5::FT2R_6C = (*g_ownedCounts)[TableSlot(5, 1)].data();
  g_counts.store(g_ownedCounts.get(), std::memory_order_release);
  return *g_ownedCounts;
}

}  // namespace

bool PreflopCacheImageValid(std::string_view image) {
  try {
    std::lock_guard lock(g_loadMutex);
    Counts counts;
    return ParseImage(image, EnsureIndex(), counts);
  } catch (const std::exception&) {
    return false;
  }
}

namespace fsm5 {
const uint32_t* ET2I_6 = nullptr;
const uint32_t* FT2R_6 = nullptr;
const uint32_t* FT2R_6C = nullptr;

int load_2_index() {
  try {
    std::lock_guard lock(g_loadMutex);
    return static_cast<int>(EnsureIndex().keys.size());
  } catch (const std::exception&) {
    return 0;
  }
}

int load_2(int target, int rules, int /*kind: the five-card tables are always published*/) {
  if (target < 3 || target > 5 || (rules != 0 && rules != 1)) return 0;
  if (const Index* index = g_index.load(std::memory_order_acquire); index && g_counts.load(std::memory_order_acquire))
    return static_cast<int>(index->keys.size());
  if (!fsm5::IsLoaded() && !fsm5::load_fsm7()) return 0;
  try {
    std::lock_guard lock(g_loadMutex);
    const Index& index = EnsureIndex();
    EnsureCounts(index);
    return static_cast<int>(index.keys.size());
  } catch (const std::exception&) {
    return 0;
  }
}

int bsearch(const uint32_t* table, int first, int count, uint32_t key) {
  if (!table || count <= 0) return -1;
  const uint32_t* begin = table + first;
  const uint32_t* it = std::lower_bound(begin, begin + count, key);
  return it != begin + count && *it == key ? static_cast<int>(it - table) : -1;
}
}  // namespace fsm5

void FreePreflopTables() {
  std::lock_guard lock(g_loadMutex);
  g_counts.store(nullptr, std::memory_order_release);
  g_index.store(nullptr, std::memory_order_release);
  fsm5::ET2I_6 = fsm5::FT2R_6 = fsm5::FT2R_6C = nullptr;
  g_ownedCounts.reset();
  g_ownedIndex.reset();
}

uint32_t MatchupKey(int hero1, int hero2, int opp1, int opp2) {
  const auto lo = [](int a, int b) { return static_cast<uint32_t>(std::min(a, b)); };
  const auto hi = [](int a, int b) { return static_cast<uint32_t>(std::max(a, b)); };
  return lo(hero1, hero2) | hi(hero1, hero2) << 8 | lo(opp1, opp2) << 16 | hi(opp1, opp2) << 24;
}

std::vector<std::filesystem::path> PreflopCacheFiles() { return CacheCandidates(); }

std::filesystem::path PreflopCacheFile() {
  const char* dir = std::getenv("FERROX_CACHE_DIR");
  if (dir && *dir) return std::filesystem::path(dir) / kCacheName;
  return GetDataDir() / kCacheName;
}

const uint32_t* PreflopCounts(int target, int rules) {
  const Counts* counts = g_counts.load(std::memory_order_acquire);
  if (!counts || target < 3 || target > 5 || rules < 0 || rules > 1) return nullptr;
  return (*counts)[TableSlot(target, rules)].data();
}

int MatchupIndex(const Combo& hero, const Combo& opponent) {
  const Index* t = g_index.load(std::memory_order_acquire);
  if (!t) return -1;
  const auto combo = [&](const Combo& c) {
    return c.first >= 0 && c.first < 64 && c.second >= 0 && c.second < 64 ? t->comboOf[c.first * 64 + c.second] : -1;
  };
  const int h = combo(hero), o = combo(opponent);
  if (h < 0 || o < 0) return -1;
  return t->position[static_cast<std::size_t>(h) * kTotalCombos + o];
}

PreflopTally TallyPreflop(const Spec& hero, const Spec& opponent, int target, int rules) {
  PreflopTally tally;
  const uint32_t* counts = PreflopCounts(target, rules);
  if (!counts) return tally;
  for (const Combo& h : hero.combos())
    for (const Combo& o : opponent.combos()) {
      const int k = MatchupIndex(h, o);
      if (k < 0) continue;
      tally.wins += counts[2 * k];
      tally.ties += counts[2 * k + 1];
      ++tally.pairs;
    }
  tally.boards = tally.pairs * PreflopBoards(target);
  return tally;
}

uint32_t PreflopBoards(int target) {
  uint64_t r = 1;
  for (int i = 0; i < target; ++i) r = r * (32 - i) / (i + 1);
  return static_cast<uint32_t>(r);
}

}  // namespace quillet
