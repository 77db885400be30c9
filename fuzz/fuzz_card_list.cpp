// The command-line tool's card lists: an accepted text is card names and separators only,
// distinct deck cards that round-trip through their text; a refused one says why.
#include <vector>

#include "core/CardText.h"
#include "fuzz/FuzzSupport.h"
#include "quillet/Cards.h"

namespace {

using namespace ferrox;

bool IsSeparator(wchar_t c) { return c == L' ' || c == L',' || c == L'\t'; }

wchar_t Upper(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  const int mode = bytes.Byte();
  const std::wstring text = fuzz::WideOf(bytes.Rest(), mode);

  std::wstring error = L"";
  const auto cards = ParseCardList(text, error);
  if (!cards) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  CardMask seen = 0;
  for (CardIndex c : *cards) {
    FUZZ_CHECK(quillet::IsDeckCard(c));
    FUZZ_CHECK(!(seen & quillet::CardBit(c)));
    seen |= quillet::CardBit(c);
  }
  // Without its separators the text is the cards' names (a rank letter in either case).
  std::wstring names;
  for (wchar_t c : text)
    if (!IsSeparator(c)) names += c;
  const std::wstring written = CardListText(*cards);
  FUZZ_CHECK(names.size() == written.size());
  for (std::size_t i = 0; i < names.size(); ++i)
    FUZZ_CHECK(names[i] == written[i] || (i % 2 == 0 && Upper(names[i]) == written[i]));

  std::wstring again;
  const auto back = ParseCardList(written, again);
  FUZZ_CHECK(back && *back == *cards);
  return 0;
}
