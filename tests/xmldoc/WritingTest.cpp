#include <gtest/gtest.h>

#include <string>

#include "xmldoc/Document.h"

namespace ferrox::xml::testing {
namespace {

TEST(XmlWriting, LibraryTreeIsLaidOutOneElementPerLineWithTabs) {
  auto doc = NewDocument();
  doc->AddChild(std::make_unique<Node>(NodeType::ProcessingInstruction, L"xml",
                                       L"version=\"1.0\" encoding=\"utf-8\""));
  Node* root = doc->AddChildNamed(L"User-defined-ranges");
  Node* folder = root->AddChildNamed(L"Folder");
  folder->AddAttribute(L"name", L"Lo & <hi>");
  Node* range = folder->AddChildNamed(L"Range");
  range->AddAttribute(L"RangeName", L"A\"B");
  range->AddAttribute(L"value", L"AA,KK");
  range->AddAttribute(L"percent", L"0.95%");
  root->AddChildNamed(L"Folder")->AddAttribute(L"name", L"Empty");
  root->AddChildNamed(L"Note", L"x < y");

  EXPECT_EQ(doc->ToText(),
            L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
            L"<User-defined-ranges>\r\n"
            L"\t<Folder name=\"Lo &amp; &lt;hi&gt;\" >\r\n"
            L"\t\t<Range RangeName=\"A&quot;B\" value=\"AA,KK\" percent=\"0.95%\" />\r\n"
            L"\t</Folder>\r\n"
            L"\t<Folder name=\"Empty\" />\r\n"
            L"\t<Note>x &lt; y</Note>\r\n"
            L"</User-defined-ranges>");
}

TEST(XmlWriting, OptionsChangeLinesQuotesReferencesAndIndentation) {
  auto a = Node::NewNode(L"a");
  a->AddAttribute(L"x", L"it's a<b\"c\\");
  a->AddChildNamed(L"b", L"1<2\\");

  WriteOptions flat;
  flat.newLines = false;
  flat.quote = L'\'';
  EXPECT_EQ(a->ToText(flat), L"<a x='it&apos;s a&lt;b&quot;c\\\\' ><b>1&lt;2\\\\</b></a>");

  WriteOptions plain;
  plain.entityReferences = false;
  plain.indentation = 1;
  const std::wstring text = a->ToText(plain);
  EXPECT_EQ(text, L"<a x=\"it's a<b\\\"c\\\\\" >\r\n\t\t<b>1\\<2\\\\</b>\r\n\t</a>");
  ParseOptions options;
  const auto back = ParseDocument(text, options);
  ASSERT_NE(back, nullptr) << options.error.text;
  EXPECT_TRUE(back->FirstElement()->SameContent(*a));
}

TEST(XmlWriting, LineEndsInTextsAndValuesAreWrittenAsReferences) {
  // A reader that joins the lines of a file would lose them otherwise.
  auto a = Node::NewNode(L"a", L"one\r\ntwo\t");
  a->AddAttribute(L"x", L"\n");
  a->AddChild(std::make_unique<Node>(NodeType::Comment, L"#COMMENT", L"as read"));
  const std::wstring text = a->ToText();
  EXPECT_EQ(text, L"<a x=\"&#xA;\" >\r\n\t<!--as read-->one&#xD;&#xA;two\t</a>");
  EXPECT_EQ(text.find(L"\r\n", text.find(L"-->")), std::wstring::npos);
  ParseOptions options;
  const auto back = ParseDocument(text, options);
  ASSERT_NE(back, nullptr) << options.error.text;
  EXPECT_TRUE(back->FirstElement()->SameContent(*a));
}

// Everything a user may type into a range or folder name, and the odd shapes a hand-edited
// file may hold.
std::unique_ptr<Node> AwkwardDocument() {
  auto doc = NewDocument();
  doc->AddChild(std::make_unique<Node>(NodeType::Comment, L"#COMMENT", L" ranges <&> "));
  Node* root = doc->AddChildNamed(L"Диапазоны&<\"'>");
  Node* folder = root->AddChildNamed(L"Folder");
  folder->AddAttribute(L"name", L"Fish & <Chips> \"Ü\" 'ß' \\ C:\\x\\");
  folder->AddAttribute(L"ключ&<>", L" two\r\nlines\t");
  folder->AddAttribute(L"empty", L"");
  Node* range = folder->AddChildNamed(L"Range");
  range->AddAttribute(L"RangeName", L"&amp; is not &");
  range->AddAttribute(L"value", L"AA-QQ, AKs");
  folder->AddChild(std::make_unique<Node>(NodeType::Cdata, L"#CDATA", L"<raw & \\ text>"));
  root->AddChildNamed(L"Blank", L" ")->AddChildNamed(L"child");
  root->AddChildNamed(L"Mixed", L"\r\n\ttext <&> \\\r\n")->AddChildNamed(L"child");
  root->AddChildNamed(L"");
  root->AddChildNamed(L"", L"no name");
  root->AddChild(std::make_unique<Node>(NodeType::ProcessingInstruction, L"pi", L"  spaced"));
  return doc;
}

TEST(XmlWriting, AwkwardTreeReadsBackTheSameAndWritesTheSameText) {
  const auto doc = AwkwardDocument();
  for (bool newLines : {true, false}) {
    WriteOptions write;
    write.newLines = newLines;
    const std::wstring text = doc->ToText(write);
    ParseOptions options;
    const auto back = ParseDocument(text, options);
    ASSERT_NE(back, nullptr) << options.error.text << "\n" << text;
    EXPECT_TRUE(back->SameContent(*doc)) << text;
    EXPECT_EQ(back->ToText(write), text);
  }
}

}  // namespace
}  // namespace ferrox::xml::testing
