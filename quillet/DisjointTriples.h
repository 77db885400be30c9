#pragma once
// Four sets of two-card hands, one per player, and for a hand of one player: how many ways
// the other three can each hold a hand of their set, all four hands sharing no card. In a few
// hundred steps whatever the sets' sizes, from sums kept as hands are put in.
//
// For three sets A, B, C of hands avoiding a hand's cards, by inclusion and exclusion over
// the three ways two of them can meet (share a card):
//   disjoint = |A||B||C| - M(A,B)|C| - M(A,C)|B| - M(B,C)|A| + P(A) + P(B) + P(C) - Q,
// M(A,B) the pairs of A and B that meet, P(A) the triples whose hand of A meets both others,
// Q the triples that all meet each other (one card common to all, or a triangle of cards
// {p,q,r} held as {p,q}, {p,r}, {q,r}). Per card x and set S: s(x) hands holding x, S's
// partner rows, (S t)(x) = sum of t's counts over x's partners in S, hands S shares with T.
// Those are kept for the cards in use as rows of lanes, and a lookup corrects them for the
// hand's cards u and w in one pass over the lanes.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quillet {

// Lanes of 16 bits taken at once: 32 (a row of a board's cards), or 16.
template <int kRowLanes>
struct LaneBlock {
  static constexpr int kLanes = 16;
  using Type = int16_t __attribute__((vector_size(32)));
};
template <>
struct LaneBlock<32> {
  static constexpr int kLanes = 32;
  using Type = int16_t __attribute__((vector_size(64)));
};

// Cards below kLanes, a multiple of 16 (32: a board's cards but for a flop's; 48: any).
template <int kLanes>
class DisjointTriples {
  struct Side;

 public:
  static_assert(kLanes % 16 == 0);
  static constexpr int kPlayers = 4;
  // Per card; no sum kept here tops 35 * 35.
  using Lanes = std::array<int16_t, kLanes>;

  // Empty; cards below `cards` only.
  void Clear(int cards) {
    for (Side& s : sides_) {
      s.hands = 0;
      s.count.fill(0);
      std::fill_n(s.partners.begin(), cards, 0);
      for (int x = 0; x < cards; ++x) s.rows[x].fill(0);
    }
    for (auto& to : over_)
      for (Lanes& l : to) l.fill(0);
    for (auto& to : shared_)
      for (Lanes& l : to) l.fill(0);
    for (auto& to : sharedHands_) to.fill(0);
    for (Triple& t : triples_) {
      t.corners.fill(0);
      t.triangles = t.inAll = 0;
    }
  }

  // A hand of cards a != b into, or out of, one player's set.
  void Insert(int player, int a, int b) { Change<+1>(player, a, b); }
  void Remove(int player, int a, int b) { Change<-1>(player, a, b); }

  // Player's hands that avoid the cards of `held`.
  int64_t HandsAvoiding(int player, uint64_t held) const {
    const Side& s = sides_[player];
    int64_t n = s.hands, inside = 0;
    for (uint64_t m = held; m; m &= m - 1) {
      const int c = std::countr_zero(m);
      n -= s.count[c];
      inside += std::popcount(s.partners[c] & held);
    }
    return n + inside / 2;
  }

  // Pairs of hands of players k and l, disjoint from each other and from the cards of a
  // first set, and then, lookup by lookup, of more cards: what the first set takes away is
  // taken once.
  class PairsBeside {
   public:
    PairsBeside(const DisjointTriples& t, int k, int l, uint64_t first)
        : K_(t.sides_[k]), L_(t.sides_[l]), sharedCards_(t.shared_[k][l]), first_(first) {
      kc_ = K_.count, lc_ = L_.count;
      nK_ = K_.hands, nL_ = L_.hands, shared_ = t.sharedHands_[k][l];
      Take(first, kc_, lc_, nK_, nL_, shared_);
    }

    // `more` shares no card with the first set.
    int64_t Avoiding(uint64_t more) const {
      // Per card outside the cards held, each one's hands holding it that avoid them; and the
      // hands, and hands common to both, that avoid them (those inside were taken twice).
      alignas(64) Lanes kc = kc_, lc = lc_;
      int64_t nK = nK_, nL = nL_, shared = shared_;
      Take(more, kc, lc, nK, nL, shared);
      const uint64_t held = first_ | more;
      int64_t kInside = 0, lInside = 0, sharedInside = 0;
      for (uint64_t m = held; m; m &= m - 1) {
        const int c = std::countr_zero(m);
        kInside += std::popcount(K_.partners[c] & held);
        lInside += std::popcount(L_.partners[c] & held);
        sharedInside += std::popcount(K_.partners[c] & L_.partners[c] & held);
      }
      nK += kInside / 2, nL += lInside / 2;
      if (nK == 0 || nL == 0) return 0;
      int32_t meeting = 0;
      for (int x = 0; x < kLanes; ++x) meeting += int32_t{kc[x]} * lc[x];
      // Over the cards outside those held only; read back whole, not patched lane by lane.
      for (uint64_t m = held; m; m &= m - 1) meeting -= int32_t{kc[std::countr_zero(m)]} * lc[std::countr_zero(m)];
      return nK * nL - (meeting - (shared + sharedInside / 2));
    }

   private:
    // Each side's counts less its hands holding the cards (hands holding two counted twice).
    void Take(uint64_t cards, Lanes& kc, Lanes& lc, int64_t& nK, int64_t& nL, int64_t& shared) const {
      for (uint64_t m = cards; m; m &= m - 1) {
        const int c = std::countr_zero(m);
        SubtractRow(kc.data(), K_.rows[c].data());
        SubtractRow(lc.data(), L_.rows[c].data());
        nK -= K_.count[c], nL -= L_.count[c], shared -= sharedCards_[c];
      }
    }

    const Side& K_;
    const Side& L_;
    const Lanes& sharedCards_;
    uint64_t first_;
    alignas(64) Lanes kc_, lc_;
    int64_t nK_, nL_, shared_;
  };

  // Pairs of hands of players k and l, disjoint from each other and from the cards of `held`.
  int64_t PairsAvoiding(int k, int l, uint64_t held) const { return PairsBeside(*this, k, l, 0).Avoiding(held); }

  // Ways the other players can each hold a hand, disjoint from each other and from {u, w}.
  int64_t Avoiding(int player, int u, int w) const {
    const auto [ia, ib, ic] = OthersOf(player);
    const Side& A = sides_[ia];
    const Side& B = sides_[ib];
    const Side& C = sides_[ic];
    // Sizes of the sets avoiding u and w.
    const int64_t nA = A.hands - A.count[u] - A.count[w] + A.rows[u][w];
    const int64_t nB = B.hands - B.count[u] - B.count[w] + B.rows[u][w];
    const int64_t nC = C.hands - C.count[u] - C.count[w] + C.rows[u][w];
    if (nA == 0 || nB == 0 || nC == 0) return 0;
    // Hands common to two or three sets, avoiding u and w.
    const auto sharedAvoiding = [&](int s, int t) {
      const Side& S = sides_[s];
      const Side& T = sides_[t];
      return sharedHands_[s][t] - std::popcount(S.partners[u] & T.partners[u]) -
             std::popcount(S.partners[w] & T.partners[w]) + (S.rows[u][w] & T.rows[u][w]);
    };
    const int64_t iAB = sharedAvoiding(ia, ib), iAC = sharedAvoiding(ia, ic), iBC = sharedAvoiding(ib, ic);
    const Triple& tr = triples_[player];
    const int64_t iABC = tr.inAll - std::popcount(A.partners[u] & B.partners[u] & C.partners[u]) -
                         std::popcount(A.partners[w] & B.partners[w] & C.partners[w]) +
                         (A.rows[u][w] & B.rows[u][w] & C.rows[u][w]);
    const int64_t triangles = tr.triangles - tr.corners[u] - tr.corners[w] + TrianglesOn(A, B, C, u, w);

    // (S t)(x) over partners outside {u, w}, less what t loses to u and w: the rows of S
    // for the cards that t pairs with u or w (those pairs with u or w themselves taken back
    // below).
    alignas(64) Lanes pCA, pCB, pBC;
    {
      std::array<Block, kBlocks> ca{}, cb{}, bc{};  // in registers while the rows come
      for (const uint64_t m : {C.partners[u], C.partners[w]})
        for (uint64_t y = m; y; y &= y - 1) {
          const int row = std::countr_zero(y);
          for (int i = 0; i < kBlocks; ++i) AddBlock(ca[i], A.rows[row], i), AddBlock(cb[i], B.rows[row], i);
        }
      for (const uint64_t m : {B.partners[u], B.partners[w]})
        for (uint64_t y = m; y; y &= y - 1)
          for (int i = 0; i < kBlocks; ++i) AddBlock(bc[i], C.rows[std::countr_zero(y)], i);
      std::memcpy(pCA.data(), ca.data(), sizeof pCA);
      std::memcpy(pCB.data(), cb.data(), sizeof pCB);
      std::memcpy(pBC.data(), bc.data(), sizeof pBC);
    }
    const int16_t bUW = B.rows[u][w], cUW = C.rows[u][w];
    const Lanes& oAC = over_[ia][ic];
    const Lanes& oBC = over_[ib][ic];
    const Lanes& oCB = over_[ic][ib];
    const Lanes& sAB = shared_[ia][ib];
    const Lanes& sAC = shared_[ia][ic];
    const Lanes& sBC = shared_[ib][ic];
    const int16_t cU = C.count[u], cW = C.count[w], bU = B.count[u], bW = B.count[w];
    // In 16 bits lane by lane (no term tops 3 * 35 * 35), in 32 once multiplied.
    int32_t ab = 0, ac = 0, bc = 0, abc = 0, partners = 0;
    for (int x = 0; x < kLanes; ++x) {
      const int16_t keep = -static_cast<int16_t>((x != u) & (x != w));
      const int16_t au = A.rows[u][x], aw = A.rows[w][x], bu = B.rows[u][x], bw = B.rows[w][x];
      const int16_t cu = C.rows[u][x], cw = C.rows[w][x];
      const int16_t a = (A.count[x] - au - aw) & keep;
      const int16_t b = (B.count[x] - bu - bw) & keep;
      const int16_t c = (C.count[x] - cu - cw) & keep;
      const int16_t shAB = sAB[x] - (au & bu) - (aw & bw);
      const int16_t shAC = sAC[x] - (au & cu) - (aw & cw);
      const int16_t shBC = sBC[x] - (bu & cu) - (bw & cw);
      const int16_t aToC = oAC[x] - au * cU - aw * cW - (pCA[x] - cUW * (au + aw));
      const int16_t bToC = oBC[x] - bu * cU - bw * cW - (pCB[x] - cUW * (bu + bw));
      const int16_t cToB = oCB[x] - cu * bU - cw * bW - (pBC[x] - bUW * (cu + cw));
      const int16_t abLane = a * b;
      ab += abLane;
      ac += a * c;
      bc += b * c;
      abc += int32_t{abLane} * c;
      // b aToC + a bToC + a cToB - 2 (c shAB + b shAC + a shBC), by factor.
      partners += int32_t{a} * static_cast<int16_t>(bToC + cToB - 2 * shBC) +
                  int32_t{b} * static_cast<int16_t>(aToC - 2 * shAC) + int32_t{c} * static_cast<int16_t>(-2 * shAB);
    }
    const int64_t meetAB = ab - iAB, meetAC = ac - iAC, meetBC = bc - iBC;
    const int64_t meetTwo = 3 * int64_t{abc} + partners + 3 * iABC;  // P(A) + P(B) + P(C)
    const int64_t meetAll = abc - iABC + triangles;                  // Q
    return nA * nB * nC - meetAB * nC - meetAC * nB - meetBC * nA + meetTwo - meetAll;
  }

 private:
  struct Side {
    int32_t hands = 0;
    alignas(64) Lanes count{};
    alignas(64) std::array<Lanes, kLanes> rows{};  // rows[x][y]: the hand {x, y} is in
    std::array<uint64_t, kLanes> partners{};
  };
  // The three sets beside one player's.
  struct Triple {
    int64_t triangles = 0;                  // {p,q}, {p,r}, {q,r} held by the three sets, one each
    int64_t inAll = 0;                      // hands all three sets hold
    std::array<int32_t, kLanes> corners{};  // per card, the triangles it is a corner of
  };

  static uint64_t Bit(int c) { return uint64_t{1} << c; }

  static void SubtractRow(int16_t* __restrict out, const int16_t* __restrict row) {
    for (int i = 0; i < kLanes; ++i) out[i] = static_cast<int16_t>(out[i] - row[i]);
  }
  // out += by * (x + y), lane by lane; out is apart from both.
  template <int by>
  static void AddRows(int16_t* __restrict out, const int16_t* __restrict x, const int16_t* __restrict y) {
    for (int i = 0; i < kLanes; ++i)
      out[i] = static_cast<int16_t>(by > 0 ? out[i] + (x[i] + y[i]) : out[i] - (x[i] + y[i]));
  }

  // Whole rows at once where a register holds them, for sums kept in registers.
  using Block = typename LaneBlock<kLanes>::Type;
  static constexpr int kBlockLanes = LaneBlock<kLanes>::kLanes;
  static constexpr int kBlocks = kLanes / kBlockLanes;
  static void AddBlock(Block& sum, const Lanes& lanes, int i) {
    Block b;
    std::memcpy(&b, lanes.data() + kBlockLanes * i, sizeof b);
    sum += b;
  }

  // What the other sets' sums see of a hand coming (by +1) or going (by -1); they read only
  // the other sets, so the order is free.
  template <int by>
  void Change(int player, int a, int b) {
    for (int t = 0; t < kPlayers; ++t) {
      if (t == player) continue;
      const Side& s = sides_[t];
      // t's partners of a and b see player's counts of a and b change.
      Lanes& over = over_[t][player];
      AddRows<by>(over.data(), s.rows[a].data(), s.rows[b].data());
      over_[player][t][a] += by * s.count[b];
      over_[player][t][b] += by * s.count[a];
      if (s.rows[a][b]) {
        shared_[player][t][a] += by, shared_[player][t][b] += by, sharedHands_[player][t] += by;
        shared_[t][player][a] += by, shared_[t][player][b] += by, sharedHands_[t][player] += by;
      }
    }
    // The triangles and common hands of the three sets beside each other player's.
    for (int h = 0; h < kPlayers; ++h) {
      if (h == player) continue;
      const auto [s, t] = OthersOf(h, player);
      Triple& tr = triples_[h];
      const uint64_t ab = sides_[s].partners[a] & sides_[t].partners[b];
      const uint64_t ba = sides_[s].partners[b] & sides_[t].partners[a];
      const int made = by * (std::popcount(ab) + std::popcount(ba));
      tr.triangles += made;
      tr.corners[a] += made;
      tr.corners[b] += made;
      for (uint64_t m = ab; m; m &= m - 1) tr.corners[std::countr_zero(m)] += by;
      for (uint64_t m = ba; m; m &= m - 1) tr.corners[std::countr_zero(m)] += by;
      tr.inAll += by * (sides_[s].rows[a][b] & sides_[t].rows[a][b]);
    }
    Side& p = sides_[player];
    p.hands += by;
    p.count[a] += by, p.count[b] += by;
    p.rows[a][b] = p.rows[b][a] = by > 0;
    p.partners[a] ^= Bit(b);
    p.partners[b] ^= Bit(a);
  }

  // The three players other than `player`, in order.
  static const std::array<int, 3>& OthersOf(int player) {
    static constexpr std::array<std::array<int, 3>, kPlayers> kOthers{{{1, 2, 3}, {0, 2, 3}, {0, 1, 3}, {0, 1, 2}}};
    return kOthers[player];
  }
  // The two players other than h and p.
  static std::array<int, 2> OthersOf(int h, int p) {
    const int first = h != 0 && p != 0 ? 0 : h != 1 && p != 1 ? 1 : 2;
    return {first, 6 - h - p - first};
  }

  // Triangles with both u and w as corners: the edge {u, w} held by one set, the other two
  // joining u and w to a third card.
  static int64_t TrianglesOn(const Side& A, const Side& B, const Side& C, int u, int w) {
    const auto through = [&](const Side& S, const Side& T) {
      return std::popcount(S.partners[u] & T.partners[w]) + std::popcount(S.partners[w] & T.partners[u]);
    };
    return A.rows[u][w] * through(B, C) + B.rows[u][w] * through(A, C) + C.rows[u][w] * through(A, B);
  }

  std::array<Side, kPlayers> sides_{};
  std::array<std::array<Lanes, kPlayers>, kPlayers> over_{};    // [s][t]: (S t)(x)
  std::array<std::array<Lanes, kPlayers>, kPlayers> shared_{};  // hands of s and t holding x
  std::array<std::array<int64_t, kPlayers>, kPlayers> sharedHands_{};
  std::array<Triple, kPlayers> triples_{};  // by the player beside them
};

}  // namespace quillet
