#include "app/FerroxApp.h"

#include <cstdio>

#include "app/MainFrame.h"
#include "app/RangeLibraryPanes.h"
#include "app/TimedMessage.h"
#include "app/services/Ini.h"
#include "app/services/RegImport.h"
#include "app/services/SingleInstance.h"
#include "app/services/VersionFile.h"
#include "core/EchoedText.h"
#include "core/Orderings.h"
#include "core/WideText.h"
#include "engine/PreflopTableLoading.h"
#include "model/CalculatorDocument.h"
#include "model/HandsModel.h"
#include "model/PaneSettings.h"
#include "model/PredefinedRanges.h"
#include "model/RankingsModel.h"
#include "model/UserLibrary.h"
#include "model/UserLibraryModel.h"
#include "quillet/Evaluator.h"
#include "quillet/PreflopTables.h"

namespace ferrox {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kHomeInUseBoxMs = 15'000;

unsigned long long MillisecondsSince(Clock::time_point start) {
  return static_cast<unsigned long long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

std::string Completed(const char* what, unsigned long long ms) {
  char line[96];
  std::snprintf(line, sizeof line, "CPU completed <%s> in %llu ms.\n", what, ms);
  return line;
}

// "Use" of section "Splash": the user's INI file over the program's, 1 when neither says.
unsigned LauncherFlag(const AppFolders& folders) {
  const unsigned shipped = CIni(folders.ProgramIniFile()).GetUInt(L"Splash", L"Use", 1);
  std::error_code ec;
  if (std::filesystem::equivalent(folders.IniFile(), folders.ProgramIniFile(), ec)) return shipped;
  return CIni(folders.IniFile()).GetUInt(L"Splash", L"Use", shipped);
}

}  // namespace

CFerroxApp::CFerroxApp(AppFolders folders) : folders_(std::move(folders)), handover_(folders_.EventName()) {}

CFerroxApp::~CFerroxApp() = default;

bool CFerroxApp::ClaimHome() {
  const auto lockFile = folders_.LockFile();
  std::error_code ec;
  std::filesystem::create_directories(lockFile.parent_path(), ec);
  instance_ = std::make_unique<SingleInstance>(lockFile);
  const SingleInstance::Claim claim = instance_->TryClaim();
  if (claim == SingleInstance::Claim::Taken) return false;
  QObject::connect(instance_.get(), &SingleInstance::showRequested, instance_.get(), [this] { BringForward(); });
  return true;
}

int CFerroxApp::AnswerSecondStart() {
  if (instance_ && instance_->AskHolderToShow()) return 0;
  const QString text = QStringLiteral("Another Ferrox6Plus uses the settings in <%1> and does not answer. "
                                      "Close it, then start the program again.")
                           .arg(QString::fromStdString(folders_.LockFile().parent_path().string()));
  std::fprintf(stderr, "Ferrox6Plus: %s\n", text.toLocal8Bit().constData());
  ShowTimedMessage(nullptr, text, QString::fromLatin1(kDisplayName), kMbOk | kMbIconInformation, 0, kHomeInUseBoxMs);
  return 5;
}

void CFerroxApp::BringForward() {
  if (!frame_) return;
  frame_->setWindowState((frame_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  frame_->show();
  frame_->raise();
  frame_->activateWindow();
  AppendLog("Started again on this home: the window was brought forward.");
}

bool CFerroxApp::Construct() {
  log_.Open(folders_.LogFile(), std::string("Creation date:  ") + kCreationDate, kVersionText);
  for (const std::string& line : folders_.RemoveStaleTemporaries()) AppendLog(line);
  launcherUsed = LauncherFlag(folders_) != 0;
  if (launcherUsed) {
    WriteVersionFile();
    handover_.CreateEvent();
    // It starts where the version file was just written.
    if (LauncherHandover::StartLauncher(folders_.LauncherDir(), kLauncherName, folders_.EventName(), folders_.workDir))
      AppendLog(std::string("ShellExecute: ") + kLauncherName);
  }
  mode = 1;
  for (int p = 0; p < 6; ++p) perPlayer[p] = 0;

  const auto start = Clock::now();
  tableResults[1] = quillet::fsm5::load_fsm7();
  tableResults[0] = quillet::fsm5::load_fsm5();
  if (tableResults[0] == 0 || tableResults[1] == 0) return false;
  tableResults[2] = LoadPreflopTables();
  AppendLog(Completed("load_fsm", MillisecondsSince(start)));
  AppendLog(Completed("Constructor", MillisecondsSince(start)));
  return tableResults[2] != 0;
}

bool CFerroxApp::InitInstance() {
  const auto start = Clock::now();
  if (tableResults[0] == 0 || tableResults[1] == 0 || tableResults[2] == 0) return false;
  if (const auto aside = folders_.SetAsideUnreadableSettings(); !aside.empty())
    AppendLog("Settings file unreadable, kept as " + aside.string() + "; starting with defaults");
  settings_ = std::make_unique<AppSettings>(folders_.OpenSettings());
  CountRun();
  settings_->Read();
  for (const quillet::Rules rules : {quillet::kRulesStandard, quillet::kRulesStraightBeatsSet})
    LoadOrdering(rules, settings_->OrderingFile(rules));
  calculator_ = std::make_unique<CalculatorDocument>();
  paneSettings_ = std::make_unique<PaneSettings>();
  SyncPaneSettings();
  KeepPaneChoices();
  hands_ = std::make_unique<HandsModel>(*calculator_, *paneSettings_);
  library_ = std::make_unique<UserLibrary>(folders_.workDir / kUserLibraryFileName);
  rankings_ = std::make_unique<PredefinedRanges>(
      QString::fromStdString(folders_.LibraryFile(kPredefinedRangesFileName).string()));
  libraryModel_ = std::make_unique<UserLibraryModel>(*library_);
  rankingModel_ = std::make_unique<RankingsModel>(*rankings_);

  frame_ = std::make_unique<CMainFrame>(*this);
  title_ = QString("%1  %2").arg(kDisplayName, kVersionText);
  frame_->SetAppTitle(title_);
  AppendLog(title_.toStdString());
  frame_->RestoreWorkspace();
  frame_->show();
  frame_->ShowCaptionBar(false);
  for (const QString& line : heldOutputLines_) frame_->AppendOutputLine(line);
  heldOutputLines_.clear();
  LoadRangeLibraries(*this, *frame_);
  AppendLog(Completed("InitInstance", MillisecondsSince(start)));
  if (launcherUsed) handover_.Signal();
  return true;
}

int CFerroxApp::ExitInstance() {
  frame_.reset();  // the editor windows go before the model they show
  rankingModel_.reset();
  libraryModel_.reset();
  rankings_.reset();
  library_.reset();
  hands_.reset();
  paneSettings_.reset();
  calculator_.reset();
  quillet::fsm5::Free();
  handover_.Remove();
  instance_.reset();  // the home is free for the next program
  return 0;
}

void CFerroxApp::AppendLog(const std::string& text) { log_.Append(text); }

void CFerroxApp::SyncPaneSettings() {
  if (!paneSettings_ || !settings_) return;
  paneSettings_->SetRules(Rules());
  paneSettings_->SetMode(mode == 0 ? EditMode::Create : EditMode::Use);
  paneSettings_->SetBackground(settings_->background.Effective());
  paneSettings_->SetFontColour(settings_->font.Effective());
  paneSettings_->SetOrderings(orderings);
  paneSettings_->SetEnumerate(settings_->enumerate != 0);
  paneSettings_->SetRuns(settings_->runs);
  paneSettings_->SetHotnessCalc(settings_->hotnessCalc != 0);
  paneSettings_->SetHeatmapColour(false, settings_->heatmapColour);
  paneSettings_->SetHeatmapColour(true, settings_->heatmapColour100);
}

void CFerroxApp::KeepPaneChoices() {
  // What the user chooses in a pane becomes the setting: "Enumerate" is written at
  // shutdown, "Runs" at once.
  QObject::connect(paneSettings_.get(), &PaneSettings::enumerateChanged, paneSettings_.get(),
                   [this] { settings_->enumerate = paneSettings_->Enumerate() ? 1 : 0; });
  QObject::connect(paneSettings_.get(), &PaneSettings::runsChanged, paneSettings_.get(), [this] {
    if (settings_->runs == paneSettings_->Runs()) return;
    settings_->runs = paneSettings_->Runs();
    settings_->WriteRuns();
  });
}

bool CFerroxApp::WriteVersionFile() { return ferrox::WriteVersionFile(folders_.workDir, LanguageCode()); }

int CFerroxApp::CountRun() {
  return settings_->CountRun([this] {
    std::error_code ec;
    if (std::filesystem::exists(folders_.RegFile(), ec)) ImportRegFile(folders_.RegFile(), settings_->Store());
  });
}

int CFerroxApp::LoadOrdering(quillet::Rules rules, const QString& fileName) {
  quillet::Spec& ordering = rules == quillet::kRulesStraightBeatsSet ? orderings.straightBeatsSet : orderings.standard;
  std::wstring& problem = rules == quillet::kRulesStraightBeatsSet ? orderings.straightBeatsSetProblem : orderings.standardProblem;
  const int read = ferrox::LoadOrdering(ordering, folders_.OrderingFile(fileName.toStdString()), &problem);
  if (read == 0) TellOrderingProblem(rules);
  return read;
}

void CFerroxApp::TellOrderingProblem(quillet::Rules rules) {
  const quillet::Spec& ordering = rules == quillet::kRulesStraightBeatsSet ? orderings.straightBeatsSet : orderings.standard;
  const std::wstring& problem = rules == quillet::kRulesStraightBeatsSet ? orderings.straightBeatsSetProblem : orderings.standardProblem;
  const QString line = QString("The ordering file %1 did not load: %2. Percent ranges of the %3 rules are refused "
                               "until an ordering file loads (ribbon: Ordering files).")
                           .arg(QString::fromStdWString(EscapedText(ordering.GetFile().wstring())),
                                QString::fromStdWString(EscapedText(problem)),
                                rules == quillet::kRulesStraightBeatsSet ? QStringLiteral("Straight > Set") : QStringLiteral("6+"));
  AppendLog(line.toStdString());
  if (frame_) frame_->AppendOutputLine(line);
  else heldOutputLines_.push_back(line);  // the Output pane comes with the main frame
}

QString CFerroxApp::OrderingDisplayName(quillet::Rules rules) const {
  const QString name = settings_->OrderingFile(rules);
  return name.size() < 4 ? QString() : name.left(name.size() - 4);
}

RangeParser CFerroxApp::Parser() const { return RangeParser(orderings, Rules()); }

int CFerroxApp::ParseRange(const std::wstring& text, quillet::Spec& spec) const {
  return Parser().ParseRange(text, spec);
}

}  // namespace ferrox
