#include "xmldoc/FileText.h"

#include <gtest/gtest.h>

#include <string>

#include "xmldoc/Document.h"

namespace ferrox::xml::testing {
namespace {

std::string Declaring(const std::string& encoding) {
  return "<?xml version=\"1.0\" encoding=" + encoding + "?>";
}

TEST(XmlFileText, TheDeclarationNamesTheCharset) {
  EXPECT_EQ(DeclaredCharset("<a/>"), Charset::Utf8);
  EXPECT_EQ(DeclaredCharset("<?xml version=\"1.0\"?><a/>"), Charset::Utf8);
  EXPECT_EQ(DeclaredCharset(Declaring("'utf-8'")), Charset::Utf8);
  EXPECT_EQ(DeclaredCharset(Declaring("\"ISO-8859-1\"")), Charset::Latin1);
  EXPECT_EQ(DeclaredCharset("<?xml\tencoding = 'Latin1' ?>"), Charset::Latin1);
  EXPECT_EQ(DeclaredCharset(Declaring("\"US-ASCII\"")), Charset::Ascii);
  EXPECT_EQ(DeclaredCharset(Declaring("\"Windows-1251\"")), Charset::Windows1251);
  EXPECT_EQ(DeclaredCharset(Declaring("\"Shift_JIS\"")), Charset::Unknown);
  EXPECT_EQ(DeclaredCharset(Declaring("latin1")), Charset::Unknown) << "not a quoted value";
  // The reader skips what stands before the first "<", and the writer starts there.
  EXPECT_EQ(DeclaredCharset("  " + Declaring("'latin1'")), Charset::Latin1);
  // Only a declaration counts: not another instruction, nor one after a comment.
  EXPECT_EQ(DeclaredCharset("<?xml-stylesheet encoding='latin1'?>"), Charset::Utf8);
  EXPECT_EQ(DeclaredCharset("<!-- -->" + Declaring("'latin1'")), Charset::Utf8);
  // A byte order mark says what the bytes are.
  EXPECT_EQ(DeclaredCharset("\xEF\xBB\xBF<a/>"), Charset::Utf8);
  EXPECT_EQ(DeclaredCharset("\xEF\xBB\xBF" + Declaring("'latin1'")), Charset::Unknown);
  EXPECT_EQ(DeclaredCharset("\xFF\xFE<\0a\0/\0>\0"), Charset::Unknown);
}

TEST(XmlFileText, BytesReadAsTheCharsetSays) {
  const FileText latin1 = DecodeFileText(Declaring("'latin1'") + "<a>\xE9\xFF</a>");
  EXPECT_EQ(latin1.charset, Charset::Latin1);
  EXPECT_EQ(latin1.declared, "latin1");
  EXPECT_TRUE(latin1.exact);
  EXPECT_NE(latin1.text.find(L"<a>\u00E9\u00FF</a>"), std::wstring::npos);

  const FileText cyrillic = DecodeFileText(Declaring("'cp1251'") + "<a>\xC6\xB8\x88</a>");
  EXPECT_NE(cyrillic.text.find(L"<a>\u0416\u0451\u20AC</a>"), std::wstring::npos);
  EXPECT_TRUE(cyrillic.exact);
  EXPECT_FALSE(DecodeFileText(Declaring("'cp1251'") + "<a>\x98</a>").exact) << "0x98 is no character";

  const FileText marked = DecodeFileText("\xEF\xBB\xBF<a>\xC3\xA9</a>");
  EXPECT_TRUE(marked.byteOrderMark);
  EXPECT_EQ(marked.text, L"<a>\u00E9</a>");
  EXPECT_TRUE(marked.exact);

  // What is no text of the charset reads as U+FFFD, and the text is not exact.
  const FileText broken = DecodeFileText("<a>\xE9</a>");
  EXPECT_EQ(broken.text, L"<a>\uFFFD</a>");
  EXPECT_FALSE(broken.exact);
  EXPECT_FALSE(DecodeFileText(Declaring("'ascii'") + "<a>\xC3\xA9</a>").exact);
}

TEST(XmlFileText, TextIsWrittenInItsCharsetOrNotAtAll) {
  EXPECT_EQ(EncodeFileText(L"\u00E9\u00FF", Charset::Latin1, false), "\xE9\xFF");
  EXPECT_EQ(EncodeFileText(L"\u20AC", Charset::Latin1, false), std::nullopt);
  EXPECT_EQ(EncodeFileText(L"\u0416\u20AC", Charset::Windows1251, false), "\xC6\x88");
  EXPECT_EQ(EncodeFileText(L"\u00E9", Charset::Windows1251, false), std::nullopt);
  EXPECT_EQ(EncodeFileText(L"\u00E9", Charset::Ascii, false), std::nullopt);
  EXPECT_EQ(EncodeFileText(L"\u00E9", Charset::Utf8, true), "\xEF\xBB\xBF\xC3\xA9");
  EXPECT_EQ(EncodeFileText(std::wstring(1, static_cast<wchar_t>(0xD800)), Charset::Utf8, false), std::nullopt);
  EXPECT_EQ(EncodeFileText(L"a", Charset::Unknown, false), std::nullopt);
  // Every character a single-byte charset holds comes back from its byte.
  for (const Charset charset : {Charset::Latin1, Charset::Windows1251}) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
    const FileText text = DecodeFileText(Declaring(charset == Charset::Latin1 ? "'latin1'" : "'cp1251'") + all);
    std::wstring held;
    for (const wchar_t c : text.text)
      if (Holds(charset, c)) held += c;
    const auto bytes = EncodeFileText(held, charset, false);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(DecodeFileText(*bytes).text.size(), held.size());
  }
}

TEST(XmlFileText, TheWriterWritesWhatTheCharsetCannotHoldAsReferences) {
  auto doc = NewDocument();
  doc->AddChild(std::make_unique<Node>(NodeType::ProcessingInstruction, L"xml", L"encoding=\"ISO-8859-1\""));
  Node* a = doc->AddChildNamed(L"a", L"\u00E9\u20AC");
  a->AddAttribute(L"x", L"\u0416");
  WriteOptions latin1;
  latin1.newLines = false;
  latin1.charset = Charset::Latin1;
  const std::wstring text = doc->ToText(latin1);
  EXPECT_EQ(text, L"<?xml encoding=\"ISO-8859-1\"?><a x=\"&#x416;\" >\u00E9&#x20AC;</a>");
  const auto bytes = EncodeFileText(text, Charset::Latin1, false);
  ASSERT_TRUE(bytes);
  ParseOptions options;
  const auto back = ParseDocument(DecodeFileText(*bytes).text, options);
  ASSERT_NE(back, nullptr) << options.error.text;
  EXPECT_TRUE(back->SameContent(*doc));
}

}  // namespace
}  // namespace ferrox::xml::testing
