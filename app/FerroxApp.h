#pragma once
// The application object: everything that lives as long as the program. Start-up runs in
// two stages (Construct, then InitInstance), shutdown in ExitInstance.

#include <QString>
#include <QStringList>
#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "app/AppFolders.h"
#include "app/AppSettings.h"
#include "app/services/AppLog.h"
#include "app/services/LauncherHandover.h"
#include "core/RangeParser.h"

namespace ferrox {

class CMainFrame;
class SingleInstance;
class CalculatorDocument;
class HandsModel;
class PaneSettings;
class PredefinedRanges;
class RankingsModel;
class UserLibrary;
class UserLibraryModel;

inline constexpr const char* kVersionText = "v4.11";
inline constexpr const char* kCreationDate = "03.08.2021";
inline constexpr const char* kDisplayName = "Ferrox6Plus";
inline constexpr const char* kLauncherName = "Heraldo";
inline constexpr const char* kMakerAddress = "https://www.halvard.example/ferrox6plus";
inline constexpr int kTotalCombinations = 630;

class CFerroxApp {
 public:
  explicit CFerroxApp(AppFolders folders);
  ~CFerroxApp();
  CFerroxApp(const CFerroxApp&) = delete;
  CFerroxApp& operator=(const CFerroxApp&) = delete;

  // One program per home: false when another program runs on it (see AnswerSecondStart).
  // Comes before everything else, which would write the other program's files.
  bool ClaimHome();
  // A second start on a home in use: the first program is asked to bring its window
  // forward (0), or, when it does not answer, the user is told the home is in use (5).
  int AnswerSecondStart();
  // First stage: log, launcher hand-over, evaluation tables. False when a table failed.
  bool Construct();
  // Second stage: settings, orderings, main frame. False ends the program.
  bool InitInstance();
  int ExitInstance();

  void AppendLog(const std::string& text);
  bool WriteVersionFile();
  int CountRun();

  // Reloads one ordering (0 standard, 1 straight beats set) from its file name. One that
  // does not load is told in the Output pane (and the log), naming the file and why.
  int LoadOrdering(quillet::Rules rules, const QString& fileName);
  QString OrderingDisplayName(quillet::Rules rules) const;
  RangeParser Parser() const;
  int ParseRange(const std::wstring& text, quillet::Spec& spec) const;
  quillet::Rules Rules() const { return settings().rules; }

  AppSettings& settings() { return *settings_; }
  const AppSettings& settings() const { return *settings_; }
  const AppFolders& folders() const { return folders_; }
  CMainFrame* MainFrame() const { return frame_.get(); }
  // What the panes show and edit; they exist from InitInstance to ExitInstance.
  CalculatorDocument& Calculator() const { return *calculator_; }
  PaneSettings& Panes() const { return *paneSettings_; }
  HandsModel& Hands() const { return *hands_; }
  // The range libraries: the user's ranges and the predefined rankings, and the item
  // models the two trees show them through.
  UserLibrary& Library() const { return *library_; }
  PredefinedRanges& Rankings() const { return *rankings_; }
  UserLibraryModel& LibraryModel() const { return *libraryModel_; }
  RankingsModel& RankingModel() const { return *rankingModel_; }
  // Hands the settings, mode, rule set and orderings on to the panes; a no-op when nothing
  // changed.
  void SyncPaneSettings();
  QString Title() const { return title_; }

  int mode = 1;  // 1 "Use mode", 0 "Create mode"
  std::map<int, int> perPlayer;
  OrderingRanges orderings;
  bool launcherUsed = false;
  std::array<int, 3> tableResults{};  // fsm5, fsm7, preflop tables

 private:
  void KeepPaneChoices();
  void TellOrderingProblem(quillet::Rules rules);

  void BringForward();

  AppFolders folders_;
  std::unique_ptr<SingleInstance> instance_;
  AppLog log_;
  LauncherHandover handover_;
  std::unique_ptr<AppSettings> settings_;
  std::unique_ptr<CalculatorDocument> calculator_;
  std::unique_ptr<PaneSettings> paneSettings_;
  std::unique_ptr<HandsModel> hands_;
  std::unique_ptr<UserLibrary> library_;
  std::unique_ptr<PredefinedRanges> rankings_;
  std::unique_ptr<UserLibraryModel> libraryModel_;
  std::unique_ptr<RankingsModel> rankingModel_;
  std::unique_ptr<CMainFrame> frame_;
  QString title_;
  QStringList heldOutputLines_;  // told before the Output pane existed
};

}  // namespace ferrox
