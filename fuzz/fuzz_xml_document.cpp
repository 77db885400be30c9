// XML documents (the user range library): a text that parses is written out, and the
// written text reads back as the same tree and writes out as the same text again, with any
// parse options and the writer's layouts; a text that does not parse leaves its error.
//
// Input: byte 0 how the rest becomes wide text (see WideOf), byte 1 parse options (bit 0
// trim values, 1 no entity decoding, 2 forced parsing, 3 no escape character), byte 2 write
// options (bit 0 no new lines, bit 1 apostrophes around values), then the text.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "xmldoc/Document.h"

namespace {

using namespace ferrox;
using namespace ferrox::xml;

ParseOptions ParseOptionsOf(uint8_t bits) {
  ParseOptions options;
  options.trimValues = bits & 1;
  options.decodeEntities = !(bits & 2);
  options.forceParsing = bits & 4;
  if (bits & 8) options.escape = 0;
  return options;
}

WriteOptions WriteOptionsOf(uint8_t bits) {
  WriteOptions options;
  options.newLines = !(bits & 1);
  if (bits & 2) options.quote = L'\'';
  return options;
}

void CheckFailure(const ParseError& error, std::size_t textSize, const std::wstring& text) {
  FUZZ_CHECK_TEXT(error.occurred, text);
  FUZZ_CHECK(error.code >= kElementNotClosed && error.code <= kOutOfMemory);
  FUZZ_CHECK(!error.text.empty());
  FUZZ_CHECK(error.position <= textSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  const int mode = bytes.Byte();
  const uint8_t parseBits = bytes.Byte();
  ParseOptions options = ParseOptionsOf(parseBits);
  const WriteOptions write = WriteOptionsOf(bytes.Byte());
  const std::wstring text = fuzz::WideOf(bytes.Rest(), mode);

  const auto doc = ParseDocument(text, options);
  if (!doc) {
    CheckFailure(options.error, text.size(), text);
    return 0;
  }
  FUZZ_CHECK_TEXT(!options.error.occurred, text);

  // Whatever options read it, the tree is written so that default options read it back.
  const std::wstring written = doc->ToText(write);
  ParseOptions again;
  const auto back = ParseDocument(written, again);
  FUZZ_CHECK_TEXT(back != nullptr, written + L"\n=> " + again.error.text);
  FUZZ_CHECK_TEXT(back->SameContent(*doc), written);
  FUZZ_CHECK_TEXT(back->ToText(write) == written, written);

  // The same element read on its own through ParseElement.
  ParseOptions single = ParseOptionsOf(parseBits);
  Node node;
  const auto end = node.ParseElement(text, single);
  FUZZ_CHECK(!end || *end <= text.size());
  FUZZ_CHECK(!single.error.occurred || end == std::nullopt);
  return 0;
}
