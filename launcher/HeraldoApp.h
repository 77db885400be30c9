#pragma once
// The launcher as an application without a main window or event loop: InitInstance runs
// the whole launch and returns false, which ends the process.

#include <QStringList>

namespace ferrox::launcher {

class CHeraldoApp {
 public:
  // Exit status: 0 after a launch, 2 for a command line we do not understand.
  int exitCode = 0;

  bool InitInstance(const QStringList& arguments);
};

}  // namespace ferrox::launcher
