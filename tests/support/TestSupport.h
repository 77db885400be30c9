#pragma once
// Shared by the tests: the evaluation tables, loaded once per test program, and cards by
// name.

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "quillet/Cards.h"
#include "quillet/Evaluator.h"

namespace ferrox::testing {

// Random samples checked against a slow reference are cut by this factor in sanitized
// builds, which run that reference ten to twenty times slower.
#ifdef FERROX_SANITIZED
inline constexpr int kSampleDivisor = 10;
#else
inline constexpr int kSampleDivisor = 1;
#endif

class TablesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_NE(quillet::fsm5::load_fsm7(), 0);
    ASSERT_NE(quillet::fsm5::load_fsm5(), 0);
  }
};

inline ::testing::Environment* const kTablesEnvironment =
    ::testing::AddGlobalTestEnvironment(new TablesEnvironment);

// "AhKd 7c" -> card indices; spaces are skipped.
inline std::vector<int> CardsOf(std::string_view text) {
  std::vector<int> cards;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    const wchar_t name[2] = {static_cast<wchar_t>(text[i]), static_cast<wchar_t>(text[i + 1])};
    cards.push_back(quillet::GetCardByName(std::wstring_view(name, 2)));
    i += 2;
  }
  return cards;
}

}  // namespace ferrox::testing
