// Evaluations on several threads while the owner thread keeps changing the calculator
// document: run under ThreadSanitizer, this is where a data race would show.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "engine/RequestValidation.h"
#include "engine/StreetEvaluation.h"
#include "engine/TableCardStore.h"
#include "tests/support/Ranges.h"

namespace ferrox::testing {
namespace {

CardMask MaskOf(const std::vector<CardIndex>& cards) {
  CardMask mask = 0;
  for (CardIndex c : cards) mask |= quillet::CardBit(c);
  return mask;
}

// Results by (board, dead): the same inputs must give the same exact equities whichever
// thread computed them and whatever the document did meanwhile.
class ResultBook {
 public:
  // False when an earlier result for the same inputs differs.
  bool Agrees(CardMask board, CardMask dead, const StreetEvaluation& e) {
    std::array<double, 3> hero{};
    for (int i = 0; i < 3; ++i) hero[i] = e.tasks[i].heroEquity;
    std::lock_guard lock(mutex_);
    const auto [it, added] = results_.try_emplace({board, dead}, hero);
    return added || it->second == hero;
  }
  std::size_t Distinct() {
    std::lock_guard lock(mutex_);
    return results_.size();
  }

 private:
  std::mutex mutex_;
  std::map<std::pair<CardMask, CardMask>, std::array<double, 3>> results_;
};

class DocumentChurn {
 public:
  explicit DocumentChurn(TableCardStore& store) : store_(store) {}
  // One step of a cycle over flop, turn, river boards with dead cards coming and going.
  void Step(int i) {
    static const std::vector<CardIndex> cards = CardsOf("Js Ts 6c 7h 8d 9c");
    switch (i % 6) {
      case 0: store_.ClearBoard(); for (int k = 0; k < 3; ++k) store_.AppendBoardCard(cards[k]); break;
      case 1: store_.AppendBoardCard(cards[3]); break;
      case 2: store_.AppendBoardCard(cards[4]); break;
      case 3: store_.RemoveBoardCard(4); store_.AppendDeadCard(cards[5]); break;
      case 4: store_.ClearDead(); break;
      default: store_.RemoveBoardCard(3); break;
    }
  }

 private:
  TableCardStore& store_;
};

TEST(Concurrency, EvaluationsRunWhileTheDocumentChanges) {
  TableCardStore store;
  std::array<quillet::Spec, 6> specs;
  specs[0] = SpecOf("QQ KK AKs");
  specs[1] = SpecOf("AA JJ AQs");
  std::atomic<int> offOwnerNotices{0}, ownerNotices{0};
  const auto owner = std::this_thread::get_id();
  const int listener = store.AddListener([&] {
    (std::this_thread::get_id() == owner ? ownerNotices : offOwnerNotices)++;
  });

  constexpr int kWorkers = 3, kEvaluationsEach = 12;
  std::atomic<int> done{0}, disagreements{0}, refusedChanges{0}, emptyResults{0};
  ResultBook book;
  auto work = [&] {
    TableCardStore& mine = store;
    for (int n = 0; n < kEvaluationsEach; ++n) {
      const TableCards cards = mine.Snapshot();
      if (!mine.AppendDeadCard(CardsOf("6h")[0])) ++refusedChanges;
      if (cards.board.size() < 3) continue;
      RequestData request;
      request.opponentCount = 1;
      request.boardMask = MaskOf(cards.board);
      request.deadMask = MaskOf(cards.dead);
      const StreetEvaluation e = EvaluateStreets(specs, request, cards.board, {});
      if (e.tasks[0].games == 0) ++emptyResults;
      if (!book.Agrees(request.boardMask, request.deadMask, e)) ++disagreements;
    }
    ++done;
  };
  std::vector<std::thread> workers;
  DocumentChurn churn(store);
  churn.Step(0);
  for (int i = 0; i < kWorkers; ++i) workers.emplace_back(work);
  for (int step = 1; done.load() < kWorkers; ++step) {
    churn.Step(step);
    std::this_thread::yield();
  }
  for (auto& w : workers) w.join();
  store.RemoveListener(listener);

  EXPECT_EQ(disagreements.load(), 0);
  EXPECT_EQ(emptyResults.load(), 0);
  EXPECT_EQ(refusedChanges.load(), kWorkers * kEvaluationsEach) << "workers may not change the document";
  EXPECT_EQ(offOwnerNotices.load(), 0);
  EXPECT_GT(ownerNotices.load(), 0);
  EXPECT_GE(book.Distinct(), 1u);
}

}  // namespace
}  // namespace ferrox::testing
