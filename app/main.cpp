// Ferrox6Plus: the desktop program.
#include <QApplication>
#include <cstdio>

#include "app/AppFolders.h"
#include "app/FerroxApp.h"
#include "app/MainFrame.h"
#include "app/TerminationSignals.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName("Halvard");
  QApplication::setApplicationName("Ferrox6Plus");
  QApplication::setApplicationVersion(ferrox::kVersionText);

  // Read before start-up moves into the program's folder: a relative name is the caller's.
  const QString handFile = ferrox::HandFileArgument(QApplication::arguments());
  ferrox::CFerroxApp app(ferrox::AppFolders::FromEnvironment(argc, argv));
  if (!app.ClaimHome()) return app.AnswerSecondStart();
  if (!app.Construct()) {
    std::fprintf(stderr, "Ferrox6Plus: the hand evaluation tables could not be loaded; the program cannot start.\n");
    return 3;
  }
  if (!app.InitInstance()) {
    std::fprintf(stderr, "Ferrox6Plus: start-up failed.\n");
    app.ExitInstance();
    return 4;
  }
  ferrox::CloseOnTerminationSignals(app.MainFrame());
  // A hand file named on the command line (a double-click in a file manager) opens now.
  if (!handFile.isEmpty()) app.MainFrame()->OpenHandFile(handFile, false);
  const int code = QApplication::exec();
  app.ExitInstance();
  return code;
}
