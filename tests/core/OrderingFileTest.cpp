// Ordering files that do not load say why, and a percent range without its ordering is
// refused rather than read as no hand.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/Orderings.h"
#include "core/TextFileProblem.h"
#include "quillet/HandClass.h"
#include "tests/support/FileTestSupport.h"

namespace ferrox::testing {
namespace {

namespace fs = std::filesystem;

class OrderingFile : public ::testing::Test {
 protected:
  fs::path Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return dir_ / name;
  }
  // Every class once, best first: the matrix order.
  static std::string WholeOrdering() {
    std::string text;
    for (const auto& hc : quillet::AllClassesInMatrixOrder()) {
      const std::wstring label = quillet::ClassLabel(hc);
      text += std::string(label.begin(), label.end()) + "\n";
    }
    return text;
  }
  // What loading says; checks that a file gives an ordering exactly when it says nothing.
  std::wstring ProblemOf(const fs::path& file) {
    quillet::Spec ordering;
    std::wstring problem = L"left over";
    const int read = LoadOrdering(ordering, file, &problem);
    EXPECT_EQ(read == 0, !problem.empty()) << file;
    EXPECT_EQ(OrderingFileProblem(file).empty(), read != 0) << file;
    return problem;
  }

  ScratchFolder dir_{"ordering"};
};

TEST_F(OrderingFile, AWholeOrderingHasNoProblem) {
  EXPECT_EQ(ProblemOf(Write("good.txt", "# best first\r\n" + WholeOrdering())), L"");
}

TEST_F(OrderingFile, TheFilesOwnTroubleIsNamed) {
  EXPECT_EQ(ProblemOf(dir_ / "missing.txt"), L"No such file or directory");
  fs::create_directory(dir_ / "folder.txt");
  EXPECT_EQ(ProblemOf(dir_ / "folder.txt"), L"it is a folder, not a file");
  ASSERT_EQ(::mkfifo((dir_ / "fifo.txt").c_str(), 0600), 0);
  EXPECT_EQ(ProblemOf(dir_ / "fifo.txt"), L"it is a FIFO, not a regular file") << "asked without waiting for a writer";
  EXPECT_EQ(ProblemOf(Write("empty.txt", "")), L"it is empty");
  EXPECT_EQ(ProblemOf(Write("big.txt", std::string(kOrderingFileMaxBytes + 1, '#'))), L"it is larger than 1 MB");
}

TEST_F(OrderingFile, TextInAnotherEncodingIsNamedAsSuch) {
  std::string utf16 = "\xFF\xFE";
  for (char c : WholeOrdering()) utf16 += std::string{c, '\0'};
  EXPECT_EQ(ProblemOf(Write("bom.txt", utf16)), L"it is UTF-16 text; save it as UTF-8");
  EXPECT_EQ(ProblemOf(Write("nobom.txt", utf16.substr(2))), L"it is UTF-16 text; save it as UTF-8");
}

TEST_F(OrderingFile, TheFirstLineAtFaultOrTheClassesLeftOut) {
  EXPECT_EQ(ProblemOf(Write("label.txt", "AA\nKK\nXY 0.5\n" + WholeOrdering())), L"line 3: 'XY' is not a hand class");
  EXPECT_EQ(ProblemOf(Write("twice.txt", "# c\nKK\n" + WholeOrdering())), L"line 13: KK again (first on line 2)");
  std::string short3 = WholeOrdering();
  for (const char* label : {"AKs\n", "76o\n", "66\n"}) short3.erase(short3.find(label), std::string(label).size());
  EXPECT_EQ(ProblemOf(Write("short.txt", short3)), L"it names 78 of the 81 hand classes; missing: AKs, 76o, 66");
  EXPECT_EQ(ProblemOf(Write("two.txt", "AA\nKK\n")),
            L"it names 2 of the 81 hand classes; missing: AKs, AQs, AJs and 76 more");
  EXPECT_EQ(ProblemOf(Write("comments.txt", "# nothing but\n# comments\n")),
            L"it names no hand class; an ordering names all 81, best first");
  EXPECT_EQ(ProblemOf(Write("escape.txt", "A\x1b[31m\n")), L"line 1: 'A\\x1b[31m' is not a hand class")
      << "the file's text is echoed escaped";
}

TEST_F(OrderingFile, DefaultOrderingsKeepTheProblemsOfThoseThatDidNotLoad) {
  Write(kDefaultStandardOrderingFile, WholeOrdering());
  OrderingRanges orderings;
  LoadDefaultOrderings(orderings, dir_.path());
  EXPECT_EQ(orderings.standard.ordering().size(), 81u);
  EXPECT_EQ(orderings.standardProblem, L"");
  EXPECT_TRUE(orderings.straightBeatsSet.ordering().empty());
  EXPECT_EQ(orderings.straightBeatsSetProblem, L"No such file or directory");

  const RangeParser parser(orderings, quillet::kRulesStraightBeatsSet);
  quillet::Spec spec;
  EXPECT_EQ(parser.ParseRange(L"20%", spec), kParseRejected);
  EXPECT_EQ(parser.OrderingRefusal(L"20%"), L"'20%' is cut from the ordering file " +
                                                (dir_ / kDefaultStraightBeatsSetOrderingFile).wstring() +
                                                L", which did not load: No such file or directory");
  EXPECT_EQ(parser.OrderingRefusal(L"AA, 20%"), L"") << "no percent range";
  EXPECT_EQ(RangeParser(orderings, quillet::kRulesStandard).OrderingRefusal(L"20%"), L"") << "that ordering loaded";
}

TEST(TextProblem, PlainUtf8TextHasNone) {
  EXPECT_EQ(TextProblem("AA\nKK\n"), L"");
  EXPECT_EQ(TextProblem("<r n=\"\xC3\xA9\"/>"), L"");
  EXPECT_EQ(TextProblem(" \r\n\t"), L"it holds nothing but blanks");
  EXPECT_EQ(TextProblem(std::string("\xFF\xFE\0\0<\0\0\0", 8)), L"it is UTF-32 text; save it as UTF-8");
  EXPECT_EQ(TextProblem(std::string("\0<\0r\0/\0>", 8)), L"it is UTF-16 text; save it as UTF-8") << "big-endian";
  EXPECT_EQ(TextProblem(std::string("PK\3\4\0\0\x14\0\x08\0binary", 16)), L"it holds NUL bytes: it is no text file");
}

}  // namespace
}  // namespace ferrox::testing
