#include "core/CardText.h"

#include "quillet/Cards.h"

namespace ferrox {

std::optional<std::vector<CardIndex>> ParseCardList(std::wstring_view text, std::wstring& error) {
  std::vector<CardIndex> cards;
  CardMask seen = 0;
  for (size_t i = 0; i < text.size();) {
    if (text[i] == L' ' || text[i] == L',' || text[i] == L'\t') {
      ++i;
      continue;
    }
    const std::wstring_view name = text.substr(i, 2);
    const int card = quillet::GetCardByName(name);
    if (card < 0 || !quillet::IsDeckCard(card)) {
      error = L"Unknown card '" + std::wstring(name) + L"'";
      return std::nullopt;
    }
    if (seen & quillet::CardBit(card)) {
      error = L"Duplicate card " + std::wstring(CardNameTable[card]);
      return std::nullopt;
    }
    seen |= quillet::CardBit(card);
    cards.push_back(card);
    i += 2;
  }
  return cards;
}

std::wstring CardListText(const std::vector<CardIndex>& cards) {
  std::wstring text;
  for (CardIndex c : cards)
    if (c >= 0 && c < 52) text += CardNameTable[c];
  return text;
}

}  // namespace ferrox
