// XML documents (the user range library): a text that parses is written out, and the
// written text reads back as the same tree and writes out as the same text again, with any
// parse options and the writer's layouts; a text that does not parse leaves its error.
// As a file, too: the tree written for the encoding its declaration names, encoded and
// decoded again, reads back as the same tree, so every name and text read is kept; only a
// character the encoding cannot hold outside values (where it would be a reference) or an
// encoding the writer does not know keeps it from being written.
//
// Input: byte 0 how the rest becomes wide text (0 to 2 see WideOf, 3 the bytes of a file,
// decoded as its declaration says), byte 1 parse options (bit 0 trim values, 1 no entity
// decoding, 2 forced parsing, 3 no escape character), byte 2 write options (bit 0 no new
// lines, bit 1 apostrophes around values), then the text.
#include <string>

#include "core/WideText.h"
#include "fuzz/FuzzSupport.h"
#include "xmldoc/Document.h"
#include "xmldoc/FileText.h"

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

bool AllHeld(std::wstring_view text, Charset charset) {
  for (const wchar_t c : text)
    if (!Holds(charset, c)) return false;
  return true;
}

// Whether the tree holds what no file in the charset can: a character the charset cannot
// hold in a name or in markup written as it was read, or in a text or value one that no
// reference can stand for either.
bool CannotBeWritten(const Node& node, Charset charset) {
  const auto valueOk = [charset](std::wstring_view value) {
    for (const wchar_t c : value)
      if (!Holds(charset, c) && !IsXmlCharacter(c)) return false;
    return true;
  };
  const bool element = node.Type() == NodeType::Element;
  if (!AllHeld(node.Name(), charset) || !(element ? valueOk(node.Value()) : AllHeld(node.Value(), charset)))
    return true;
  for (const auto& attribute : node.Attributes())
    if (!AllHeld(attribute->Name(), charset) || !valueOk(attribute->Value())) return true;
  for (const auto& child : node.Children())
    if (CannotBeWritten(*child, charset)) return true;
  return false;
}

// The tree as a file in the charset its declaration names, read back.
void CheckFileRoundTrip(const Node& doc, WriteOptions write, bool byteOrderMark) {
  // The declaration is ASCII, so the UTF-8 of the written text shows what it names.
  const Charset charset = DeclaredCharset((byteOrderMark ? "\xEF\xBB\xBF" : "") + ToUtf8(doc.ToText(write)));
  write.charset = charset;
  const std::wstring written = doc.ToText(write);
  const auto bytes = EncodeFileText(written, charset, byteOrderMark);
  if (!bytes) {
    FUZZ_CHECK_TEXT(charset == Charset::Unknown || CannotBeWritten(doc, charset), written);
    return;
  }
  const FileText back = DecodeFileText(*bytes);
  FUZZ_CHECK(back.charset == charset);
  FUZZ_CHECK(back.byteOrderMark == byteOrderMark);
  FUZZ_CHECK_TEXT(back.exact && back.text == written, written);
  ParseOptions again;
  const auto reread = ParseDocument(back.text, again);
  FUZZ_CHECK_TEXT(reread != nullptr, written + L"\n=> " + again.error.text);
  FUZZ_CHECK_TEXT(reread->SameContent(doc), written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  fuzz::Bytes bytes(data, size);
  const int mode = bytes.Byte() % 4;
  const uint8_t parseBits = bytes.Byte();
  ParseOptions options = ParseOptionsOf(parseBits);
  const WriteOptions write = WriteOptionsOf(bytes.Byte());
  const std::string_view raw = bytes.Rest();
  const FileText file = mode == 3 ? DecodeFileText(raw) : FileText{fuzz::WideOf(raw, mode)};
  const std::wstring& text = file.text;

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
  CheckFileRoundTrip(*doc, write, file.byteOrderMark);

  // The same element read on its own through ParseElement.
  ParseOptions single = ParseOptionsOf(parseBits);
  Node node;
  const auto end = node.ParseElement(text, single);
  FUZZ_CHECK(!end || *end <= text.size());
  FUZZ_CHECK(!single.error.occurred || end == std::nullopt);
  return 0;
}
