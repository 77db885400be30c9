// Runs every views test class in one program; the exit code counts the failed classes.
#include <QApplication>

int RunCardButtonTest(int argc, char** argv);
int RunCardsPaneTest(int argc, char** argv);
int RunFerroxViewTest(int argc, char** argv);
int RunGuiJobTest(int argc, char** argv);
int RunHandSpectrTest(int argc, char** argv);
int RunHandsViewTest(int argc, char** argv);
int RunRangeEditTest(int argc, char** argv);
int RunRangeSliderTest(int argc, char** argv);
int RunSuitBtnTest(int argc, char** argv);

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failed = 0;
  for (auto run : {RunCardButtonTest, RunCardsPaneTest, RunFerroxViewTest, RunGuiJobTest, RunHandSpectrTest, RunHandsViewTest, RunRangeEditTest,
                   RunRangeSliderTest, RunSuitBtnTest})
    failed += run(argc, argv) != 0;
  return failed;
}
