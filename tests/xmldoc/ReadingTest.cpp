#include <gtest/gtest.h>

#include <string>

#include "xmldoc/Document.h"

namespace ferrox::xml::testing {
namespace {

std::unique_ptr<Node> Parse(std::wstring_view text, ParseOptions& options) {
  return ParseDocument(text, options);
}

// The record of a parse expected to fail.
ParseError FailureOf(std::wstring_view text, ParseOptions options = {}) {
  EXPECT_EQ(ParseDocument(text, options), nullptr) << "parsed: " << std::wstring(text);
  EXPECT_TRUE(options.error.occurred);
  return options.error;
}

TEST(XmlReading, AttributesKeepTheirOrderWhateverTheQuoting) {
  ParseOptions options;
  const auto doc = Parse(L"<a x='1 \"2\"' y=3>t</a>", options);
  ASSERT_NE(doc, nullptr) << options.error.text;
  const Node* a = doc->FindChild(L"a");
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->Attributes().size(), 2u);
  EXPECT_EQ(a->Attributes()[0]->Name(), L"x");
  EXPECT_EQ(a->Attributes()[0]->Value(), L"1 \"2\"");
  EXPECT_EQ(a->Attributes()[1]->Name(), L"y");
  EXPECT_EQ(a->Attributes()[1]->Value(), L"3");
  EXPECT_EQ(a->Attributes()[1]->Parent(), a);
  EXPECT_EQ(a->Value(), L"t");
  EXPECT_FALSE(options.error.occurred);
}

TEST(XmlReading, BlanksBeforeEqualsAndTagEndAndValuelessAttributesAreAccepted) {
  ParseOptions options;
  const auto doc = Parse(L"<r><Range  RangeName =\"AA\" value = 'KK+' percent =\"0.95%\" /><F hidden/></r>", options);
  ASSERT_NE(doc, nullptr);
  const Node* range = doc->FirstElement()->FindChild(L"Range");
  ASSERT_NE(range, nullptr);
  EXPECT_EQ(range->AttributeValue(L"RangeName"), L"AA");
  EXPECT_EQ(range->AttributeValue(L"value"), L"KK+");
  EXPECT_EQ(range->AttributeValue(L"percent"), L"0.95%");
  EXPECT_EQ(range->AttributeValue(L"missing", L"none"), L"none");
  const Node* folder = doc->FirstElement()->FindChild(L"F");
  ASSERT_NE(folder, nullptr);
  ASSERT_NE(folder->FindAttribute(L"hidden"), nullptr);
  EXPECT_EQ(folder->AttributeValue(L"hidden", L"none"), L"");
}

TEST(XmlReading, EscapeCharacterMakesTheNextCharacterOrdinary) {
  ParseOptions options;
  const auto doc = Parse(L"<a x=\"say \\\"hi\\\" \\\\ \" y=b\\ c>1\\<2</a>", options);
  ASSERT_NE(doc, nullptr);
  const Node* a = doc->FirstElement();
  EXPECT_EQ(a->AttributeValue(L"x"), L"say \"hi\" \\ ");
  EXPECT_EQ(a->AttributeValue(L"y"), L"b c");
  EXPECT_EQ(a->Value(), L"1<2");
}

TEST(XmlReading, EntityReferencesAreDecodedInOnePass) {
  ParseOptions options;
  const auto doc = Parse(L"<a&amp;b q=\"&lt;&gt;&quot;&apos;&amp;lt;&nbsp;\">R&amp;D</a&amp;b>", options);
  ASSERT_NE(doc, nullptr);
  const Node* a = doc->FirstElement();
  EXPECT_EQ(a->Name(), L"a&b");
  EXPECT_EQ(a->AttributeValue(L"q"), L"<>\"'&lt;&nbsp;");
  EXPECT_EQ(a->Value(), L"R&D");

  ParseOptions raw;
  raw.decodeEntities = false;
  const auto kept = Parse(L"<a q=\"&lt;\">&amp;</a>", raw);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->FirstElement()->AttributeValue(L"q"), L"&lt;");
  EXPECT_EQ(kept->FirstElement()->Value(), L"&amp;");
}

TEST(XmlReading, NumericCharacterReferencesInValuesReadAsTheirCharacters) {
  ParseOptions options;
  const auto doc = Parse(L"<n&#65; v&#66;=\"R&#233;sum&#xE9; &#x1F600;&#10;\">&#65;&#x42;&amp;#67;&#0067;</n&#65;>",
                         options);
  ASSERT_NE(doc, nullptr) << options.error.text;
  const Node* n = doc->FirstElement();
  EXPECT_EQ(n->Attributes()[0]->Value(), L"R\u00E9sum\u00E9 \U0001F600\n");
  // In one pass with the table's: "&amp;#67;" reads as the text "&#67;".
  EXPECT_EQ(n->Value(), L"AB&#67;C");
  // Names read the table's references only.
  EXPECT_EQ(n->Name(), L"n&#65;");
  EXPECT_EQ(n->Attributes()[0]->Name(), L"v&#66;");

  // A reference to no character XML allows, or one cut short, stays as it is written.
  for (const std::wstring kept : {L"&#0;", L"&#x1F;", L"&#xD800;", L"&#xFFFE;", L"&#x110000;", L"&#99999999999;",
                                  L"&#;", L"&#x;", L"&#65", L"&#X41;", L"&#-65;", L"&#6 5;", L"&#x4G;"}) {
    const auto one = Parse(L"<a x=\"" + kept + L"\">" + kept + L"</a>", options);
    ASSERT_NE(one, nullptr) << options.error.text;
    EXPECT_EQ(one->FirstElement()->Value(), kept);
    EXPECT_EQ(one->FirstElement()->AttributeValue(L"x"), kept);
  }

  ParseOptions raw;
  raw.decodeEntities = false;
  const auto undecoded = Parse(L"<a>&#65;</a>", raw);
  ASSERT_NE(undecoded, nullptr);
  EXPECT_EQ(undecoded->FirstElement()->Value(), L"&#65;");
}

TEST(XmlReading, InstructionsCommentsAndCdataKeepTheirPlaces) {
  ParseOptions options;
  const auto doc = Parse(
      L"<?xml version=\"1.0\"?>\r\n<!-- lib --><Root>x<!--c--><![cdata[<y>]]><b/><?pi a?></Root><!--end-->",
      options);
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(doc->ChildCount(), 4);
  const auto& top = doc->Children();
  EXPECT_EQ(top[0]->Type(), NodeType::ProcessingInstruction);
  EXPECT_EQ(top[0]->Name(), L"xml");
  EXPECT_EQ(top[0]->Value(), L"version=\"1.0\"");
  EXPECT_EQ(top[1]->Type(), NodeType::Comment);
  EXPECT_EQ(top[1]->Name(), L"#COMMENT");
  EXPECT_EQ(top[1]->Value(), L" lib ");
  EXPECT_EQ(top[2]->Name(), L"Root");
  EXPECT_EQ(top[3]->Value(), L"end");
  for (const auto& n : top) EXPECT_EQ(n->Document(), doc.get());

  const Node& root = *top[2];
  EXPECT_EQ(root.Value(), L"x");
  ASSERT_EQ(root.ChildCount(), 4);
  EXPECT_EQ(root.Children()[0]->Type(), NodeType::Comment);
  EXPECT_EQ(root.Children()[1]->Type(), NodeType::Cdata);
  EXPECT_EQ(root.Children()[1]->Name(), L"#CDATA");
  EXPECT_EQ(root.Children()[1]->Value(), L"<y>");
  EXPECT_EQ(root.Children()[2]->Name(), L"b");
  EXPECT_EQ(root.Children()[3]->Type(), NodeType::ProcessingInstruction);
  EXPECT_EQ(root.Children()[2]->Parent(), &root);
  EXPECT_EQ(root.Children()[2]->Document(), doc.get());
}

TEST(XmlReading, LayoutBlanksAreNoValueButAWholeContentIs) {
  ParseOptions options;
  const auto doc = Parse(L"<a>\r\n\t<b> </b>\r\n\t<c>  x </c>\r\n</a>", options);
  ASSERT_NE(doc, nullptr);
  const Node* a = doc->FirstElement();
  EXPECT_EQ(a->Value(), L"");
  EXPECT_EQ(a->FindChild(L"b")->Value(), L" ");
  EXPECT_EQ(a->FindChild(L"c")->Value(), L"  x ");

  ParseOptions trim;
  trim.trimValues = true;
  const auto trimmed = Parse(L"<c v=' 1 '>  x </c>", trim);
  ASSERT_NE(trimmed, nullptr);
  EXPECT_EQ(trimmed->FirstElement()->Value(), L"x");
  EXPECT_EQ(trimmed->FirstElement()->AttributeValue(L"v"), L"1");
}

TEST(XmlReading, WrongClosingTagFailsUnlessParsingIsForced) {
  const std::wstring text = L"<a><b>t</c></b></a>";
  const ParseError e = FailureOf(text);
  EXPECT_EQ(e.code, 3);
  EXPECT_EQ(e.text, L"'<b> ... </c>' is not wel-formed.");
  EXPECT_EQ(e.position, text.find(L"</c>"));

  ParseOptions forced;
  forced.forceParsing = true;
  const auto doc = ParseDocument(text, forced);
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(forced.error.occurred);
  EXPECT_EQ(doc->FirstElement()->FindChild(L"b")->Value(), L"t");
}

TEST(XmlReading, EachKindOfErrorHasItsCodeAndText) {
  const struct {
    std::wstring text;
    int code;
    std::wstring message;
  } cases[] = {
      {L"<a x=\"1\"/ >", 1, L"Element must be closed."},
      {L"<a", 1, L"Element must be closed."},
      {L"<a>text", 2, L"a must be closed with </a>"},
      {L"<a><b/>", 2, L"it must be closed with </a>"},
      {L"<a>x</a", 2, L"it must be closed with </a>"},
      {L"<a/></b>", 3, L"'<> ... </b>' is not wel-formed."},
      {L"<a x=\"1>", 4, L"<a> attribute has error "},
      {L"<a x", 4, L"<a> attribute has error "},
      {L"<a><!-- c </a>", 6, L"'<!--' is not closed with '-->'."},
  };
  for (const auto& c : cases) {
    const ParseError e = FailureOf(c.text);
    EXPECT_EQ(e.code, c.code) << c.text;
    EXPECT_EQ(e.text, c.message) << c.text;
  }
}

TEST(XmlReading, OnlyTheFirstErrorIsRecorded) {
  ParseOptions options;
  Node node;
  EXPECT_FALSE(node.ParseElement(L"<a></b>", options));
  EXPECT_FALSE(node.ParseElement(L"<c/ >", options));
  EXPECT_EQ(options.error.code, 3);
  EXPECT_EQ(options.error.text, L"'<a> ... </b>' is not wel-formed.");

  // A document parse is a new parse with a record of its own.
  EXPECT_NE(ParseDocument(L"<a/>", options), nullptr);
  EXPECT_FALSE(options.error.occurred);
}

TEST(XmlReading, ParseElementReportsWhereItStopped) {
  ParseOptions options;
  Node node;
  const std::wstring text = L"junk <a k='v'>t</a> <b/></x>";
  const auto after = node.ParseElement(text, options);
  ASSERT_TRUE(after);
  EXPECT_EQ(*after, text.find(L" <b/>"));
  EXPECT_EQ(node.Name(), L"a");
  EXPECT_EQ(node.AttributeValue(L"k"), L"v");
  const auto afterB = node.ParseElement(text, options, *after);
  ASSERT_TRUE(afterB);
  EXPECT_EQ(node.Name(), L"b");
  EXPECT_TRUE(node.Attributes().empty());
  EXPECT_EQ(node.ParseElement(text, options, *afterB), text.find(L"</x>"));
  EXPECT_FALSE(node.ParseElement(L"no element", options));
  EXPECT_FALSE(options.error.occurred);

  const auto empty = ParseDocument(L"no element here", options);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->FirstElement(), nullptr);
}

std::wstring Nested(int depth) {
  std::wstring text;
  for (int i = 0; i < depth; ++i) text += L"<n>";
  for (int i = 0; i < depth; ++i) text += L"</n>";
  return text;
}

TEST(XmlReading, NestingIsLimitedToAFixedDepth) {
  ParseOptions options;
  const auto deepest = ParseDocument(Nested(kMaxElementDepth), options);
  ASSERT_NE(deepest, nullptr);
  int depth = 0;
  for (const Node* n = deepest->FirstElement(); n; n = n->FirstElement()) ++depth;
  EXPECT_EQ(depth, kMaxElementDepth);

  for (int tooDeep : {kMaxElementDepth + 1, 50000}) {
    const ParseError e = FailureOf(Nested(tooDeep));
    EXPECT_EQ(e.code, kTooDeep);
    EXPECT_EQ(e.text, L"Elements are nested more than 256 deep.");
    EXPECT_EQ(e.position, 3u * kMaxElementDepth);
  }
}

}  // namespace
}  // namespace ferrox::xml::testing
