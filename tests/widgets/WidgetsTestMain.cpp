// Runs every widget test class in one program; the exit code counts the failed classes.
#include <QApplication>

int RunColourValuesTest(int argc, char** argv);
int RunColourGalleryTest(int argc, char** argv);
int RunColourButtonTest(int argc, char** argv);
int RunRibbonTest(int argc, char** argv);

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failed = 0;
  for (auto run : {RunColourValuesTest, RunColourGalleryTest, RunColourButtonTest, RunRibbonTest})
    failed += run(argc, argv) != 0;
  return failed;
}
