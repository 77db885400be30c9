// The range libraries that ship with the program: each loads, and every range's stated
// share is the share its text really covers, as the parser counts it.
#include <gtest/gtest.h>

#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/RangeParser.h"
#include "model/PredefinedRanges.h"
#include "model/UserLibrary.h"

namespace {

using namespace ferrox;

const std::filesystem::path kResources = FERROX_RES_DIR;

int Combinations(const std::wstring& text) {
  OrderingRanges orderings;
  quillet::Spec spec;
  if (RangeParser(orderings, quillet::kRulesStandard).ParseRange(text, spec) != kParseOk) return -1;
  return static_cast<int>(spec.size());
}

std::wstring ShareText(int combinations) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%.2f%%", combinations * 100.0 / 630);
  return text;
}

void CheckRanges(const xml::Node& node, int& seen) {
  if (node.Type() == xml::NodeType::Element && UserLibrary::ItemKindOf(node) == kRangeItem) {
    const UserRangeTexts range = UserLibrary::RangeTexts(node);
    const int count = Combinations(range.value);
    EXPECT_GT(count, 0) << "range " << QString::fromStdWString(range.name).toStdString();
    EXPECT_EQ(range.percent, ShareText(count)) << QString::fromStdWString(range.name).toStdString();
    ++seen;
  }
  for (const auto& child : node.Children()) CheckRanges(*child, seen);
}

TEST(ShippedLibraries, EveryUserRangeParsesAndStatesItsShare) {
  UserLibrary library(std::filesystem::temp_directory_path() / "ferrox-shipped-never-written.xml");
  ASSERT_TRUE(library.Load(kResources / kUserLibraryFileName).ok);
  int seen = 0;
  CheckRanges(library.Document(), seen);
  EXPECT_GE(seen, 10);
}

TEST(ShippedLibraries, EveryRankingParsesAndStatesItsShare) {
  PredefinedRanges rankings(QString::fromStdString((kResources / kPredefinedRangesFileName).string()));
  ASSERT_TRUE(rankings.LoadPredefinedRanges()) << QString::fromStdWString(rankings.ParseError()).toStdString();
  int seen = 0;
  for (const auto& [category, all] : rankings.Categories())
    for (const auto& [key, range] : all.ranges) {
      const int count = Combinations(range.value);
      EXPECT_GT(count, 0) << QString::fromStdWString(range.name).toStdString();
      EXPECT_NEAR(range.percent, count * 100.0 / 630, 0.005) << QString::fromStdWString(range.name).toStdString();
      ++seen;
    }
  EXPECT_GE(seen, 15);
  EXPECT_GE(rankings.FolderNames().size(), 3u);
}

}  // namespace
