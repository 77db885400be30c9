#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xmldoc/Document.h"

namespace ferrox::xml::testing {
namespace {

std::vector<std::wstring> NamesOf(const Node& node) {
  std::vector<std::wstring> names;
  for (const auto& child : node.Children()) names.push_back(child->Name());
  return names;
}

using Names = std::vector<std::wstring>;

TEST(XmlTreeEditing, AddedChildrenBelongToTheDocumentAllTheWayDown) {
  auto doc = NewDocument();
  EXPECT_EQ(doc->Type(), NodeType::Document);
  EXPECT_EQ(doc->Document(), doc.get());

  auto folder = Node::NewNode(L"Folder");
  Node* range = folder->AddChildNamed(L"Range", L"AA");
  EXPECT_EQ(range->Parent(), folder.get());
  EXPECT_EQ(range->Document(), nullptr);

  Node* root = doc->AddChildNamed(L"User-defined-ranges");
  Node* added = root->AddChild(std::move(folder));
  EXPECT_EQ(added->Parent(), root);
  EXPECT_EQ(added->Document(), doc.get());
  EXPECT_EQ(range->Document(), doc.get());
  EXPECT_EQ(range->Value(), L"AA");
  EXPECT_EQ(doc->FindChild(L"User-defined-ranges"), root);
  EXPECT_EQ(root->FindChild(L"Folder"), added);
  EXPECT_EQ(root->FindChild(L"folder"), nullptr);
}

TEST(XmlTreeEditing, ChildrenAreInsertedBeforeOrAfterAnother) {
  Node parent;
  Node* b = parent.AddChildNamed(L"b");
  parent.InsertChildAt(Node::NewNode(L"a"), b, true);
  parent.InsertChildAt(Node::NewNode(L"c"), b, false);
  Node* d = parent.InsertChildAt(Node::NewNode(L"d"), parent.Children().back().get(), false);
  EXPECT_EQ(NamesOf(parent), (Names{L"a", L"b", L"c", L"d"}));
  EXPECT_EQ(d->Parent(), &parent);

  Node stranger;
  EXPECT_EQ(parent.InsertChildAt(Node::NewNode(L"x"), &stranger, true), nullptr);
  EXPECT_EQ(parent.InsertChildAt(Node::NewNode(L"x"), nullptr, false), nullptr);
  EXPECT_EQ(NamesOf(parent), (Names{L"a", L"b", L"c", L"d"}));
}

TEST(XmlTreeEditing, ChildrenAreDeletedOrMovedOnlyByTheirParent) {
  auto doc = NewDocument();
  Node* root = doc->AddChildNamed(L"root");
  Node* a = root->AddChildNamed(L"a");
  Node* b = root->AddChildNamed(L"b");
  a->AddChildNamed(L"inner");

  EXPECT_FALSE(doc->DeleteChild(a));
  EXPECT_EQ(doc->DetachChild(b), nullptr);
  EXPECT_TRUE(root->DeleteChild(a));
  EXPECT_FALSE(root->DeleteChild(a));
  EXPECT_EQ(NamesOf(*root), (Names{L"b"}));

  std::unique_ptr<Node> moved = root->DetachChild(b);
  ASSERT_EQ(moved.get(), b);
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_EQ(b->Document(), nullptr);
  EXPECT_EQ(root->ChildCount(), 0);
  doc->InsertChildAt(std::move(moved), root, true);
  EXPECT_EQ(NamesOf(*doc), (Names{L"b", L"root"}));
  EXPECT_EQ(b->Document(), doc.get());
}

TEST(XmlTreeEditing, AttributesKeepTheOrderTheyWereAddedIn) {
  Node range(NodeType::Element, L"Range");
  range.AddAttribute(L"RangeName", L"Tight");
  range.AddAttribute(Node::NewAttribute(L"value", L"AA,KK"));
  Attribute* percent = range.AddAttribute(L"percent");
  percent->SetValue(L"1.90%");
  ASSERT_EQ(range.Attributes().size(), 3u);
  EXPECT_EQ(range.Attributes()[0]->Name(), L"RangeName");
  EXPECT_EQ(range.Attributes()[1]->Value(), L"AA,KK");
  EXPECT_EQ(range.Attributes()[2]->Parent(), &range);
  EXPECT_EQ(range.AttributeValue(L"percent"), L"1.90%");
}

TEST(XmlTreeEditing, TreesFarDeeperThanTheReaderAllowsAreComparedWrittenAndFreed) {
  constexpr int kDepth = 200000;
  auto build = [] {
    auto top = Node::NewNode(L"n");
    Node* node = top.get();
    for (int i = 1; i < kDepth; ++i) node = node->AddChildNamed(L"n");
    node->SetValue(L"bottom");
    return top;
  };
  const auto a = build();
  const auto b = build();
  EXPECT_TRUE(a->SameContent(*b));
  Node* bottom = b.get();
  while (bottom->ChildCount() > 0) bottom = bottom->Children()[0].get();
  bottom->SetValue(L"other");
  EXPECT_FALSE(a->SameContent(*b));

  WriteOptions flat;
  flat.newLines = false;
  const std::wstring text = a->ToText(flat);
  EXPECT_EQ(text.size(), 7u * kDepth + 6u);
  EXPECT_NE(text.find(L"<n>bottom</n>"), std::wstring::npos);
}

}  // namespace
}  // namespace ferrox::xml::testing
