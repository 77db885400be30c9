#include <gtest/gtest.h>

#include <thread>

#include "engine/TableCardStore.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {
namespace {

TEST(TableCardStore, EachStoreIsADocumentOfItsOwn) {
  TableCardStore first, second;
  EXPECT_TRUE(first.AppendBoardCard(CardsOf("As")[0]));
  EXPECT_EQ(first.BoardSize(), 1);
  EXPECT_EQ(second.BoardSize(), 0);
  EXPECT_TRUE(second.AppendDeadCard(CardsOf("As")[0])) << "a card held by another document is free here";
}

TEST(TableCardStore, BoardDeadAndPlayerCards) {
  TableCardStore store;
  int changes = 0;
  const int id = store.AddListener([&] { ++changes; });
  for (CardIndex c : CardsOf("Ah Kd 7c 6s 9h")) EXPECT_TRUE(store.AppendBoardCard(c));
  EXPECT_FALSE(store.AppendBoardCard(CardsOf("Qc")[0])) << "five cards at most";
  EXPECT_FALSE(store.AppendBoardCard(CardsOf("Ah")[0]));
  EXPECT_EQ(changes, 5);
  EXPECT_TRUE(store.RemoveBoardCard(4));
  EXPECT_FALSE(store.RemoveBoardCard(4));
  EXPECT_EQ(store.Board(), CardsOf("Ah Kd 7c 6s"));
  EXPECT_EQ(store.BoardMask(), quillet::VecToInt64(CardsOf("Ah Kd 7c 6s")));

  EXPECT_TRUE(store.AppendDeadCard(CardsOf("Qc")[0]));
  EXPECT_FALSE(store.AppendDeadCard(CardsOf("Qc")[0]));
  EXPECT_FALSE(store.AppendDeadCard(CardsOf("5c")[0])) << "not in the short deck";
  EXPECT_TRUE(store.AppendDeadCard(CardsOf("Jd")[0]));
  EXPECT_EQ(store.DeadText(), L"QcJd");
  CardIndex one[1];
  EXPECT_EQ(store.DeadCards(one, 1), 1);
  EXPECT_EQ(one[0], CardsOf("Qc")[0]);

  EXPECT_TRUE(store.AppendPlayerCard(2, CardsOf("Ts")[0]));
  EXPECT_TRUE(store.AppendPlayerCard(2, CardsOf("9s")[0]));
  EXPECT_FALSE(store.AppendPlayerCard(2, CardsOf("8s")[0])) << "two cards at most";
  EXPECT_EQ(store.PlayerText(2), L"Ts9s");
  EXPECT_EQ(store.PlayerText(3), L"");
  store.ClearPlayerCards(2);
  store.ClearDead();
  store.ClearBoard();
  EXPECT_TRUE(store.PlayerCards(2).empty());
  EXPECT_TRUE(store.Dead().empty());
  EXPECT_EQ(store.BoardSize(), 0);
  const int before = changes;
  store.RemoveListener(id);
  store.AppendBoardCard(CardsOf("Ah")[0]);
  EXPECT_EQ(changes, before);
  store.ClearBoard();
}

TEST(TableCardStore, ACardIsHeldInOnePlaceOnly) {
  TableCardStore store;
  const CardIndex ah = CardsOf("Ah")[0], kd = CardsOf("Kd")[0], qc = CardsOf("Qc")[0];
  ASSERT_TRUE(store.AppendBoardCard(ah));
  ASSERT_TRUE(store.AppendDeadCard(kd));
  ASSERT_TRUE(store.AppendPlayerCard(1, qc));
  for (CardIndex taken : {ah, kd, qc}) {
    EXPECT_FALSE(store.AppendPlayerCard(0, taken));
    EXPECT_FALSE(store.AppendPlayerCard(1, taken));
    EXPECT_FALSE(store.AppendDeadCard(taken));
    EXPECT_FALSE(store.AppendBoardCard(taken));
  }
  EXPECT_FALSE(store.AppendPlayerCard(6, CardsOf("Js")[0])) << "players are 0..5";
  EXPECT_TRUE(store.PlayerCards(0).empty());
  const TableCards all = store.Snapshot();
  EXPECT_EQ(all.board, std::vector<CardIndex>{ah});
  EXPECT_EQ(all.dead, std::vector<CardIndex>{kd});
  EXPECT_EQ(all.players.at(1), std::vector<CardIndex>{qc});
  store.ClearPlayerCards(1);
  EXPECT_TRUE(store.AppendDeadCard(qc)) << "free again once its holder let it go";
  store.ClearDead();
  store.ClearBoard();
}

TEST(TableCardStore, OnlyTheOwnerThreadChangesItAndHearsListeners) {
  TableCardStore store;
  std::thread::id heard;
  const int id = store.AddListener([&] { heard = std::this_thread::get_id(); });
  bool appended = true, cleared = true;
  std::thread other([&] {
    TableCardStore& same = store;
    EXPECT_FALSE(same.OnOwnerThread());
    appended = same.AppendBoardCard(CardsOf("Ah")[0]);
    cleared = same.RemoveBoardCard(0);
    same.AppendDeadCard(CardsOf("Kd")[0]);
  });
  other.join();
  EXPECT_FALSE(appended);
  EXPECT_FALSE(cleared);
  EXPECT_TRUE(store.Snapshot().board.empty());
  EXPECT_TRUE(store.Dead().empty());
  EXPECT_EQ(heard, std::thread::id{}) << "no change, no announcement";
  EXPECT_TRUE(store.OnOwnerThread());
  EXPECT_TRUE(store.AppendBoardCard(CardsOf("Ah")[0]));
  EXPECT_EQ(heard, std::this_thread::get_id());
  store.RemoveListener(id);
  store.ClearBoard();
}

}  // namespace
}  // namespace ferrox::testing
