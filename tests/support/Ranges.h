#pragma once
// Ranges for the library's tests, written as "AsKh QQ AKs" (exact hands or class labels).

#include <sstream>
#include <string>
#include <vector>

#include "quillet/Spec.h"
#include "tests/support/BruteEquity.h"
#include "tests/support/TestSupport.h"

namespace ferrox::testing {

inline quillet::Spec SpecOf(const std::string& text) {
  quillet::Spec spec;
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    if (word.size() == 4) {
      const auto cards = CardsOf(word);
      spec.AddCombo(cards[0], cards[1]);
    } else {
      spec.AddClass(*quillet::ParseClassLabel(std::wstring(word.begin(), word.end())));
    }
  }
  return spec;
}

inline std::vector<Hand> HandsOf(const quillet::Spec& spec) {
  return {spec.combos().begin(), spec.combos().end()};
}

// The range's hands as card masks, in set order.
inline std::vector<uint64_t> ListOf(const std::string& text) {
  const quillet::Spec spec = SpecOf(text);
  std::vector<uint64_t> list;
  for (const auto& c : spec.combos()) list.push_back(quillet::ComboMask(c));
  return list;
}

}  // namespace ferrox::testing
