// Computes the two shipped orderings of the 81 hand classes:
//  - SixPlusVsRandom.txt: exact preflop equity against one random hand, standard rules;
//  - SixPlus6maxordering.txt: preflop equity against five random hands under the
//    straight-beats-set rules, by sampling (fixed seed, so reruns give the same file).
//
// usage: make_orderings OUTPUT_DIR [DEALS_FOR_6MAX [SEED]]
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "quillet/Evaluator.h"
#include "quillet/Files.h"
#include "quillet/HandClass.h"
#include "quillet/Random.h"
#include "quillet/Spec.h"

namespace {

using namespace quillet;

constexpr int kDeck = kDeckSize;

struct ClassEquity {
  HandClass hc;
  double equity;
};

// Index 0..629 of a combination of two deck positions.
struct ComboTable {
  std::array<std::array<int, kDeck>, kDeck> index{};
  std::array<HandClass, kTotalCombos> classOf{};
  ComboTable() {
    const int* deck = SixPlusDeckCards();
    int n = 0;
    for (int i = 0; i < kDeck; ++i)
      for (int j = i + 1; j < kDeck; ++j) {
        index[i][j] = index[j][i] = n;
        classOf[n++] = ClassOfCombo(deck[i], deck[j]);
      }
  }
};

std::vector<ClassEquity> ByClass(const ComboTable& combos, const std::vector<double>& sum,
                                 const std::vector<double>& weight) {
  std::vector<ClassEquity> out;
  for (const auto& hc : AllClassesInMatrixOrder()) {
    double s = 0, w = 0;
    for (int c = 0; c < kTotalCombos; ++c)
      if (combos.classOf[c] == hc) s += sum[c], w += weight[c];
    out.push_back({hc, w > 0 ? s / w : 0});
  }
  // Best first; equal equities keep matrix order.
  std::stable_sort(out.begin(), out.end(),
                   [](const ClassEquity& a, const ClassEquity& b) { return a.equity > b.equity; });
  return out;
}

// Every board, every pair of hole cards on it: wins and ties against every disjoint hand.
std::vector<ClassEquity> EquityVsRandom(const ComboTable& combos) {
  const int* deck = SixPlusDeckCards();
  const FastEvaluator eval(kRulesStandard);
  std::vector<double> wins(kTotalCombos, 0), weight(kTotalCombos, 0);
  struct Hand { int value, a, b, combo; };
  std::vector<Hand> hands;
  hands.reserve(465);

  std::array<int, 5> b{};
  for (b[0] = 0; b[0] < kDeck; ++b[0])
    for (b[1] = b[0] + 1; b[1] < kDeck; ++b[1])
      for (b[2] = b[1] + 1; b[2] < kDeck; ++b[2])
        for (b[3] = b[2] + 1; b[3] < kDeck; ++b[3])
          for (b[4] = b[3] + 1; b[4] < kDeck; ++b[4]) {
            uint64_t boardKey = kKeyStart, boardMask = 0;
            for (int p : b) boardKey += KeyOf(deck[p]), boardMask |= CardBit(deck[p]);
            hands.clear();
            for (int i = 0; i < kDeck; ++i) {
              if (boardMask & CardBit(deck[i])) continue;
              for (int j = i + 1; j < kDeck; ++j) {
                if (boardMask & CardBit(deck[j])) continue;
                const int v = eval(boardKey + KeyOf(deck[i]) + KeyOf(deck[j]),
                                   boardMask | CardBit(deck[i]) | CardBit(deck[j]));
                hands.push_back({v, i, j, combos.index[i][j]});
              }
            }
            std::sort(hands.begin(), hands.end(),
                      [](const Hand& x, const Hand& y) { return x.value < y.value; });
            // Hands below the current group, in all and per card.
            int lowerAll = 0;
            std::array<int, kDeck> lowerByCard{}, equalByCard{};
            for (size_t g = 0; g < hands.size();) {
              size_t end = g;
              while (end < hands.size() && hands[end].value == hands[g].value) ++end;
              const int groupSize = static_cast<int>(end - g);
              for (size_t k = g; k < end; ++k) ++equalByCard[hands[k].a], ++equalByCard[hands[k].b];
              for (size_t k = g; k < end; ++k) {
                const Hand& h = hands[k];
                const int lower = lowerAll - lowerByCard[h.a] - lowerByCard[h.b];
                const int equal = groupSize + 1 - equalByCard[h.a] - equalByCard[h.b];
                wins[h.combo] += lower + 0.5 * equal;
                weight[h.combo] += 406;  // opponents from the 29 unseen cards
              }
              for (size_t k = g; k < end; ++k) {
                --equalByCard[hands[k].a], --equalByCard[hands[k].b];
                ++lowerByCard[hands[k].a], ++lowerByCard[hands[k].b];
              }
              lowerAll += groupSize;
              g = end;
            }
          }
  return ByClass(combos, wins, weight);
}

// Random deals of five opponents and a board; every hero hand of the 21 cards left is
// judged on each deal, which samples all classes on the same deals.
void SampleSixMax(const ComboTable& combos, long deals, uint64_t seed, std::vector<double>& sum,
                  std::vector<double>& weight) {
  const int* deck = SixPlusDeckCards();
  const FastEvaluator eval(kRulesStraightBeatsSet);
  EasyRandom rng(seed);
  std::array<int, kDeck> order;
  for (int i = 0; i < kDeck; ++i) order[i] = i;
  for (long d = 0; d < deals; ++d) {
    for (int i = 0; i < 15; ++i) std::swap(order[i], order[i + rng.Below(kDeck - i)]);
    uint64_t boardKey = kKeyStart, boardMask = 0;
    for (int i = 10; i < 15; ++i) boardKey += KeyOf(deck[order[i]]), boardMask |= CardBit(deck[order[i]]);
    int best = -1, tied = 0;
    for (int p = 0; p < 5; ++p) {
      const int c1 = deck[order[2 * p]], c2 = deck[order[2 * p + 1]];
      const int v = eval(boardKey + KeyOf(c1) + KeyOf(c2), boardMask | CardBit(c1) | CardBit(c2));
      if (v > best) best = v, tied = 1;
      else if (v == best) ++tied;
    }
    for (int i = 15; i < kDeck; ++i)
      for (int j = i + 1; j < kDeck; ++j) {
        const int c1 = deck[order[i]], c2 = deck[order[j]];
        const int v = eval(boardKey + KeyOf(c1) + KeyOf(c2), boardMask | CardBit(c1) | CardBit(c2));
        const int combo = combos.index[order[i]][order[j]];
        sum[combo] += v > best ? 1.0 : v == best ? 1.0 / (tied + 1) : 0.0;
        weight[combo] += 1;
      }
  }
}

std::vector<ClassEquity> EquitySixMax(const ComboTable& combos, long deals, uint64_t seed) {
  constexpr int kThreads = 2;  // fixed, so that the result does not depend on the machine
  std::vector<std::vector<double>> sums(kThreads, std::vector<double>(kTotalCombos, 0));
  std::vector<std::vector<double>> weights = sums;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back(SampleSixMax, std::cref(combos), deals / kThreads, seed + t,
                         std::ref(sums[t]), std::ref(weights[t]));
  for (auto& t : threads) t.join();
  for (int t = 1; t < kThreads; ++t)
    for (int c = 0; c < kTotalCombos; ++c) sums[0][c] += sums[t][c], weights[0][c] += weights[t][c];
  return ByClass(combos, sums[0], weights[0]);
}

bool Write(const std::string& path, const std::string& title, const std::string& how,
           const std::vector<ClassEquity>& classes) {
  std::string text = "# Ferrox6Plus hand ordering: " + title + "\n# " + how +
                     "\n# One class per line, best first, with its equity.\n";
  char line[64];
  for (const auto& c : classes) {
    const std::wstring label = ClassLabel(c.hc);
    std::snprintf(line, sizeof line, "%-4s %.6f\n", std::string(label.begin(), label.end()).c_str(),
                  c.equity);
    text += line;
  }
  std::string error;
  if (WriteFileAtomically(path, text, error)) return true;
  std::cerr << path << ": " << error << "\n";
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: make_orderings OUTPUT_DIR [DEALS_FOR_6MAX [SEED]]\n";
    return 2;
  }
  const std::string dir = argv[1];
  const long deals = argc > 2 ? std::stol(argv[2]) : 400'000'000;
  const uint64_t seed = argc > 3 ? std::stoull(argv[3]) : 1;
  std::filesystem::create_directories(dir);
  if (!fsm5::load_fsm7()) {
    std::cerr << "Cannot build the evaluation tables\n";
    return 1;
  }
  const ComboTable combos;
  const bool ok =
      Write(dir + "/SixPlusVsRandom.txt", "SixPlusVsRandom",
            "Exact preflop equity against one random hand, standard 6+ rules.",
            EquityVsRandom(combos)) &&
      Write(dir + "/SixPlus6maxordering.txt", "SixPlus6maxordering",
            "Preflop equity against five random hands, straight beats set; " +
                std::to_string(deals) + " sampled deals.",
            EquitySixMax(combos, deals, seed));
  if (!ok) {
    std::cerr << "Cannot write the ordering files in " << dir << "\n";
    return 1;
  }
  return 0;
}
