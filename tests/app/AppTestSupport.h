#pragma once
// A program instance in a temporary home: settings, log and working files stay there.

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <fstream>
#include <memory>

#include "app/FerroxApp.h"
#include "app/MainFrame.h"

namespace ferrox::testing {

// Every item of a tree model, each before its children.
inline QModelIndexList AllItems(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
  QModelIndexList items;
  for (int row = 0; row < model.rowCount(parent); ++row) {
    const QModelIndex item = model.index(row, 0, parent);
    items << item << AllItems(model, item);
  }
  return items;
}

inline std::filesystem::path HomeOf(const QTemporaryDir& dir) { return dir.path().toStdString(); }

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Starts the program with the launcher switched off unless the test wrote its own INI file.
// No launcher is started either way: the real one would start a second main program, as
// this test process is not one.
inline std::unique_ptr<CFerroxApp> StartApp(const std::filesystem::path& home, bool launcherOff = true) {
  if (launcherOff) WriteText(home / "Ferrox6Plus.ini", "[Splash]\nUse=0\n");
  AppFolders folders = AppFolders::ForHome(home);
  folders.launcherDir = home;
  auto app = std::make_unique<CFerroxApp>(folders);
  if (!app->ClaimHome() || !app->Construct() || !app->InitInstance()) return nullptr;
  return app;
}

// The program started, its window active so that the keys a test sends reach it; null
// when it did not start or its window did not become active.
inline std::unique_ptr<CFerroxApp> StartActiveApp(const std::filesystem::path& home) {
  auto app = StartApp(home);
  if (!app) return nullptr;
  app->MainFrame()->activateWindow();
  if (QTest::qWaitForWindowActive(app->MainFrame())) return app;
  app->ExitInstance();
  return nullptr;
}

// Answers the next message box that opens (OK / the default button) and reports its text.
inline void AnswerNextMessageBox(QString* text) {
  QTimer::singleShot(50, [text] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
        if (text) *text = box->text();
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        if (ok) ok->click();
        else box->accept();
        return;
      }
    AnswerNextMessageBox(text);  // not open yet: look again
  });
}

}  // namespace ferrox::testing
