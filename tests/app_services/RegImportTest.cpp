#include "app/services/RegImport.h"

#include <gtest/gtest.h>

#include <QStringEncoder>
#include <memory>

#include "TestFiles.h"

namespace ferrox {
namespace {

using namespace Qt::StringLiterals;

// As the registry editor writes it: UTF-16LE with a byte order mark, CR LF line ends.
std::string Utf16Export(const std::string& utf8) {
  QString text = QString::fromUtf8(utf8);
  text.replace(u"\n"_s, u"\r\n"_s);
  QStringEncoder encoder(QStringEncoder::Utf16LE);
  const QByteArray bytes = encoder(text);
  return std::string("\xFF\xFE") + bytes.toStdString();
}

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";
const std::string kRoot = "[HKEY_CURRENT_USER\\Software\\Halvard\\Ferrox6Plus";

class RegImportTest : public ::testing::Test {
 protected:
  std::filesystem::path SettingsFile() const { return test::PathOf(dir_) / "settings.ini"; }
  std::unique_ptr<QSettings> Settings() const {
    return std::make_unique<QSettings>(ToQString(SettingsFile()), QSettings::IniFormat);
  }
  int Import(const std::string& bytes) {
    const auto file = test::PathOf(dir_) / "export.reg";
    test::WriteFile(file, bytes);
    return ImportRegFile(file, *Settings());
  }

  QTemporaryDir dir_;
};

TEST_F(RegImportTest, RegistryEditorExportLandsInGroups) {
  const int written = Import(Utf16Export(kHeader + kRoot + "]\n"
                                         "\"Top\"=dword:00000001\n\n" +
                                         kRoot + "\\Settings]\n"
                                         "\"Players\"=dword:0000000a\n"
                                         "\"Mask\"=dword:ffffffff\n"
                                         "\"High\"=dword:80000000\n"
                                         "\"Path\"=\"C:\\\\Users\\\\\\\"me\\\"\"\n\n" +
                                         kRoot + "\\Heatmap\\Colors]\n"
                                         "\"Hot\"=dword:00FF0000\n"));
  EXPECT_EQ(written, 6);
  // Read back from the file: the import saved what it wrote.
  const auto settings = Settings();
  EXPECT_EQ(settings->value("Top").toInt(), 1);
  EXPECT_EQ(settings->value("Settings/Players").toInt(), 10);
  // DWORDs are stored as signed 32-bit numbers.
  EXPECT_EQ(settings->value("Settings/Mask").toString(), u"-1"_s);
  EXPECT_EQ(settings->value("Settings/High").toInt(), INT32_MIN);
  EXPECT_EQ(settings->value("Settings/Path").toString(), u"C:\\Users\\\"me\""_s);
  EXPECT_EQ(settings->value("Heatmap/Colors/Hot").toInt(), 0xFF0000);
}

TEST_F(RegImportTest, Utf8ExportsWithAndWithoutByteOrderMark) {
  const std::string body =
      "REGEDIT4\n\n" + kRoot + "\\Game]\n\"Name\"=\"\xC3\x91" "and\xC3\xBA \xE2\x82\xAC\"\n";
  EXPECT_EQ(Import(body), 1);
  EXPECT_EQ(Settings()->value("Game/Name").toString(), u"\u00D1and\u00FA \u20AC"_s);

  EXPECT_EQ(Import("\xEF\xBB\xBF\n  \n" + body), 1);
  EXPECT_EQ(Settings()->value("Game/Name").toString(), u"\u00D1and\u00FA \u20AC"_s);
}

TEST_F(RegImportTest, OnlyTheProgramsKeyCounts) {
  const int written = Import(kHeader +
                             "[HKEY_LOCAL_MACHINE\\Software\\Halvard\\Ferrox6Plus\\Settings]\n"
                             "\"A\"=dword:00000001\n"
                             "[HKEY_CURRENT_USER\\Software\\Halvard\\Ferrox6PlusBeta\\Settings]\n"
                             "\"B\"=dword:00000002\n"
                             "[HKEY_CURRENT_USER\\Software\\Other]\n"
                             "\"C\"=dword:00000003\n"
                             "[hkey_current_user\\SOFTWARE\\halvard\\ferrox6plus\\General]\n"
                             "\"D\"=dword:00000004\n");
  EXPECT_EQ(written, 1);
  const auto settings = Settings();
  EXPECT_EQ(settings->allKeys(), QStringList{u"General/D"_s});
  EXPECT_EQ(settings->value("General/D").toInt(), 4);
}

TEST_F(RegImportTest, DefaultBinaryAndContinuedValuesAreSkipped) {
  const int written = Import(kHeader + kRoot + "\\Hotness]\n"
                             "@=\"default\"\n"
                             "\"Bin\"=hex:01,02,\\\n"
                             "  03,04\n"
                             "\"Multi\"=hex(7):41,00,\\\n"
                             "  42,00,\\\n"
                             "  00,00\n"
                             "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\n"
                             "; a comment\n"
                             "\"After\"=dword:00000002\n"
                             "\"BadDword\"=dword:xyz\n"
                             "\"LongDword\"=dword:123456789\n"
                             "\"Unclosed\"=\"text\n"
                             "\"Trailing\"=\"text\" extra\n");
  EXPECT_EQ(written, 1);
  const auto settings = Settings();
  EXPECT_EQ(settings->allKeys(), QStringList{u"Hotness/After"_s});
  EXPECT_EQ(settings->value("Hotness/After").toInt(), 2);
}

TEST_F(RegImportTest, DeletionsRemoveKeysAndValues) {
  {
    const auto settings = Settings();
    settings->setValue("Settings/A", 1);
    settings->setValue("Settings/B", 2);
    settings->setValue("Hotness/X", 3);
    settings->setValue("Hotness/Deep/Y", 4);
  }
  const int written = Import(kHeader + "[-" + kRoot.substr(1) + "\\Hotness]\n\n" + kRoot +
                             "\\Settings]\n\"A\"=-\n\"C\"=\"new\"\n");
  EXPECT_EQ(written, 1);
  const auto settings = Settings();
  QStringList keys = settings->allKeys();
  keys.sort();
  EXPECT_EQ(keys, (QStringList{u"Settings/B"_s, u"Settings/C"_s}));
}

TEST_F(RegImportTest, FilesThatAreNotExportsImportNothing) {
  EXPECT_EQ(ImportRegFile(test::PathOf(dir_) / "missing.reg", *Settings()), -1);
  EXPECT_EQ(ImportRegFile(test::PathOf(dir_), *Settings()), -1);
  EXPECT_EQ(Import(""), -1);
  EXPECT_EQ(Import("\n\n"), -1);
  EXPECT_EQ(Import("[Splash]\nUse=0\n"), -1);
  EXPECT_EQ(Import("Some notes\n" + kHeader + kRoot + "]\n\"A\"=dword:00000001\n"), -1);
  EXPECT_TRUE(Settings()->allKeys().isEmpty());
}

}  // namespace
}  // namespace ferrox
