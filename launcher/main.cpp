// Heraldo: shows a picture while Ferrox6Plus starts.
#include <QApplication>

#include "launcher/HeraldoApp.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  ferrox::launcher::CHeraldoApp app;
  app.InitInstance(QApplication::arguments());
  return app.exitCode;
}
