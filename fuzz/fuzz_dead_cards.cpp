// Dead-card texts: only deck cards, each once, in the order the text names them; a list
// written back as text reads back the same.
#include <algorithm>
#include <cwctype>
#include <vector>

#include "core/CardText.h"
#include "engine/RequestValidation.h"
#include "fuzz/FuzzSupport.h"
#include "quillet/Cards.h"

namespace {

using namespace ferrox;

bool NamesCard(const std::wstring& text, std::size_t at, CardIndex card) {
  if (at + 1 >= text.size()) return false;
  const std::wstring_view name = CardNameTable[card];
  const wchar_t rank = text[at];
  const bool rankMatches = rank == name[0] || (rank >= L'a' && rank <= L'z' && rank - L'a' + L'A' == name[0]);
  return rankMatches && text[at + 1] == name[1];
}

void CheckList(const std::wstring& text, const std::vector<CardIndex>& cards) {
  CardMask seen = 0;
  std::size_t from = 0;
  for (CardIndex c : cards) {
    FUZZ_CHECK(quillet::IsDeckCard(c));
    FUZZ_CHECK(!(seen & quillet::CardBit(c)));
    seen |= quillet::CardBit(c);
    // Each card is named in the text after the one before it.
    while (from < text.size() && !NamesCard(text, from, c)) ++from;
    FUZZ_CHECK(from < text.size());
    from += 2;
  }
  FUZZ_CHECK(ReadDeadCards(CardListText(cards)) == cards);
  std::wstring spaced;
  for (CardIndex c : cards) spaced += std::wstring(CardNameTable[c]) + L", ";
  FUZZ_CHECK(ReadDeadCards(spaced) == cards);
}

// A text made of card names and separators: the reader must find every card, first
// mention first.
void CheckWrittenList(fuzz::Bytes& bytes) {
  static constexpr const wchar_t* kSeparators[] = {L"", L" ", L",", L", ", L"\t", L"  ,"};
  std::wstring text;
  std::vector<CardIndex> expected;
  while (!bytes.empty()) {
    const uint8_t pick = bytes.Byte();
    const CardIndex card = quillet::kSixPlusDeck[pick % quillet::kDeckSize];
    std::wstring name(CardNameTable[card]);
    if (pick & 0x80) name[0] = static_cast<wchar_t>(std::towlower(name[0]));
    text += name;
    text += kSeparators[bytes.Byte() % std::size(kSeparators)];
    if (std::find(expected.begin(), expected.end(), card) == expected.end()) expected.push_back(card);
  }
  FUZZ_CHECK(ReadDeadCards(text) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  const int mode = bytes.Byte();
  if (mode & 0x80) {
    CheckWrittenList(bytes);
    return 0;
  }
  const std::wstring text = fuzz::WideOf(bytes.Rest(), mode);
  const std::vector<CardIndex> cards = ReadDeadCards(text);
  CheckList(text, cards);
  FUZZ_CHECK(ReadDeadCards(text) == cards);
  return 0;
}
