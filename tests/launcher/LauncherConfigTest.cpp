#include <gtest/gtest.h>

#include "launcher/LauncherConfig.h"
#include "launcher/LauncherOptions.h"

namespace ferrox::launcher {
namespace {

LaunchSettings Read(const char* xml) { return ReadLauncherConfig(QByteArray(xml)); }

TEST(LauncherConfigTest, ShippedLayoutReadsEveryField) {
  const LaunchSettings s = Read(R"(<?xml version="1.0"?>
    <Heraldo>
      <Application process_name="Ferrox6Plus" work_directory="w" event_name="Ferrox6PlusEvent"/>
      <Picture path="splash.png"/>
      <Update address="file:///srv/ToolList.txt" installer="https://x/Setup.bin"/>
    </Heraldo>)");
  EXPECT_EQ(s.processPath, "Ferrox6Plus");
  EXPECT_EQ(s.workDirectory, "w");
  EXPECT_EQ(s.eventName, "Ferrox6PlusEvent");
  EXPECT_EQ(s.picturePath, "splash.png");
  EXPECT_EQ(s.updateAddress, "file:///srv/ToolList.txt");
  EXPECT_EQ(s.installerAddress, "https://x/Setup.bin");
}

TEST(LauncherConfigTest, OtherRootOrBrokenTextGivesNothing) {
  const LaunchSettings empty;
  EXPECT_EQ(Read(R"(<heraldo><Application process_name="A"/></heraldo>)"), empty);
  EXPECT_EQ(Read(R"(<Launcher><Picture path="p.png"/></Launcher>)"), empty);
  EXPECT_EQ(Read(R"(<Heraldo><Application process_name="A">)"), empty);
  EXPECT_EQ(Read(""), empty);
  QDomDocument doc;
  EXPECT_FALSE(LoadLauncherConfig("<Heraldo><Picture path='a'></Heraldo>", doc));
  EXPECT_TRUE(doc.documentElement().isNull());  // nothing half-read stays behind
  EXPECT_TRUE(LoadLauncherConfig("<Heraldo/>", doc));
}

TEST(LauncherConfigTest, ADeeplyNestedTextIsRefusedBeforeItIsParsed) {
  // Under the size cap, yet deep enough to keep the document parser busy for seconds.
  const int depth = 40000;
  QByteArray deep = "<Heraldo><Picture path=\"a.png\"/>";
  for (int i = 0; i < depth; ++i) deep += "<x>";
  for (int i = 0; i < depth; ++i) deep += "</x>";
  deep += "</Heraldo>";
  ASSERT_LT(deep.size(), 1 << 20);
  QDomDocument doc;
  EXPECT_FALSE(LoadLauncherConfig(deep, doc));
  EXPECT_TRUE(doc.documentElement().isNull());
  EXPECT_TRUE(ReadLauncherConfig(deep).picturePath.isEmpty());

  QByteArray shallow = "<Heraldo><Picture path=\"a.png\"/>";
  for (int i = 0; i < 20; ++i) shallow += "<x>";
  for (int i = 0; i < 20; ++i) shallow += "</x>";
  shallow += "</Heraldo>";
  EXPECT_EQ(ReadLauncherConfig(shallow).picturePath, QString("a.png")) << "a little nesting is still read";
}

TEST(LauncherConfigTest, NamesMatchExactlyAndUnknownOnesAreIgnored) {
  const LaunchSettings s = Read(R"(<Heraldo>
      <application process_name="lower"/>
      <Application Process_Name="upper" process_name="App.exe" colour="red"/>
      <Picture PATH="no" path="yes.png"/>
      <Other path="other.png" process_name="other"/>
    </Heraldo>)");
  EXPECT_EQ(s.processPath, "App.exe");
  EXPECT_EQ(s.picturePath, "yes.png");
  EXPECT_TRUE(s.updateAddress.isEmpty());
}

TEST(LauncherConfigTest, LastElementWinsButMissingAttributesKeepEarlierValues) {
  const LaunchSettings s = Read(R"(<Heraldo>
      <Picture path="first.png"/>
      <Application process_name="First" event_name="FirstEvent"/>
      <Picture path="second.png"/>
      <Application process_name="Second"/>
    </Heraldo>)");
  EXPECT_EQ(s.picturePath, "second.png");
  EXPECT_EQ(s.processPath, "Second");
  EXPECT_EQ(s.eventName, "FirstEvent");
}

TEST(LauncherConfigTest, OnlyChildrenOfTheRootCount) {
  const LaunchSettings s = Read(R"(<Heraldo><Group><Picture path="deep.png"/></Group></Heraldo>)");
  EXPECT_TRUE(s.picturePath.isEmpty());
}

TEST(LauncherConfigTest, WrittenSettingsReadBack) {
  LaunchSettings s;
  s.processPath = "/opt/a b/Ferrox6Plus";
  s.picturePath = "pic <\"&'>.png";
  s.workDirectory = "tab\there";
  s.eventName = "Ev";
  s.updateAddress = "https://example.org/v?a=1&b=2";
  EXPECT_EQ(ReadLauncherConfig(WriteLauncherConfig(s)), s);
  EXPECT_EQ(ReadLauncherConfig(WriteLauncherConfig({})), LaunchSettings{});
}

TEST(LauncherConfigTest, ProductAndEventNamesComeFromTheProgramFileName) {
  EXPECT_EQ(ProductName("Ferrox6Plus"), "Ferrox6Plus");
  EXPECT_EQ(ProductName("App.exe"), "App");
  EXPECT_EQ(ProductName(R"(C:\Programs\App.exe)"), "App");
  EXPECT_EQ(ProductName("/opt/ferrox/Ferrox6Plus"), "Ferrox6Plus");
  EXPECT_EQ(ProductName("/opt/v1.2/Tool"), "Tool");
  EXPECT_EQ(ProductName(""), "");
  EXPECT_EQ(EventNameFor("App"), "/AppEvent");
  EXPECT_EQ(EventNameFor(ProductName("Ferrox6Plus")), "/Ferrox6PlusEvent");
}

TEST(LauncherOptionsTest, PictureEventAndTimeOut) {
  QString error;
  auto options = ParseLauncherOptions({"Heraldo"}, error);
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->picture.isEmpty());
  EXPECT_TRUE(options->eventName.empty());
  EXPECT_EQ(options->timeoutMs, 60000);

  options = ParseLauncherOptions({"Heraldo", "--event", "Mine", "--timeout-ms", "250", "p.png"}, error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->picture, "p.png");
  EXPECT_EQ(options->eventName, "/Mine");
  EXPECT_EQ(options->timeoutMs, 250);
  options = ParseLauncherOptions({"Heraldo", "--event", "/Ferrox6PlusEvent-7"}, error);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->eventName, "/Ferrox6PlusEvent-7");
}

TEST(LauncherOptionsTest, BadOptionsAreRefusedWithAReason) {
  QString error;
  EXPECT_FALSE(ParseLauncherOptions({"Heraldo", "--timeout-ms", "soon"}, error));
  EXPECT_TRUE(error.contains("soon"));
  EXPECT_FALSE(ParseLauncherOptions({"Heraldo", "--timeout-ms", "-5"}, error));
  EXPECT_FALSE(ParseLauncherOptions({"Heraldo", "--fast"}, error));
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace ferrox::launcher
