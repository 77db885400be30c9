#pragma once
// The main window: ribbon, caption bar, tabbed document area, eight docking panes and the
// status bar; the ribbon's commands act on the application object and the panes.

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace ferrox {

namespace widgets {
class ColourButton;
class RibbonBar;
class RibbonPanel;
}  // namespace widgets

class CFerroxApp;
class HandSession;
class CFerroxDoc;
class CFerroxView;
class CHandsView;
class CHeatmapView;
class CChartView;
class CaptionBar;
class COutputWnd;

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit CMainFrame(CFerroxApp& app);
  ~CMainFrame() override;

  QAction* Action(int id) const;
  QDockWidget* Pane(int id) const;
  widgets::RibbonBar* Ribbon() const { return ribbon_; }
  widgets::ColourButton* ColourButtonOf(int id) const;
  COutputWnd* Output() const { return output_; }
  CaptionBar* Caption() const { return caption_; }
  QMdiArea* Documents() const { return mdi_; }

  void SetAppTitle(const QString& title);
  void ShowCaptionBar(bool show);
  // Restores the panes' placement and the window's geometry from the last run, fitted to
  // the screen the window opens on.
  void RestoreWorkspace();
  void AppendOutputLine(const QString& text);
  // Opens the row's range editor in the tabbed area, or brings its window forward.
  // The editor window of the document, made when missing; null without a document.
  QMdiSubWindow* ShowRangeEditor(CFerroxDoc* document, int row);
  // "Hand Range (...)" windows of the range libraries: a free range document each, opened
  // unless a window's title already holds the title; closed by exact title.
  void OpenHandRange(const QString& title);
  void CloseHandRange(const QString& title);
  // The document of the active editor window, null when none.
  CFerroxDoc* ActiveEditorDocument() const;
  CFerroxView* ActiveEditorView() const;
  CHandsView* HandsView() const;
  CHeatmapView* HeatmapView() const;
  // The chart document's window, when it is open.
  CChartView* ChartView() const;
  void OnEditorActivated(QMdiSubWindow* window);
  // The right-click menu of a range editor form: its undo and redo, cut, copy and paste.
  void ShowEditMenu(const QPoint& globalPos, CFerroxView* editor = nullptr);
  int ShowTimedMessage(QWidget* owner, const QString& text, const QString& caption, unsigned style, int language,
                       int milliseconds);

  // Picks an ordering file, starting from a name; empty on Cancel. The program's own is
  // ChooseOrderingFile.
  std::function<QString(const QString& start)> chooseOrderingFile;
  // Called for a look change, a colour change or a preview: views that paint with the
  // application's colours repaint.
  std::function<void(int id)> repaintColourViews;

  // Commands.
  void OnApplicationLook(int id);
  void OnColour(int id);
  void OnColourPreview(int id, int colour);
  void OnTogglePane(int id);
  void OnGameType();
  void OnHotnessCalc();
  void OnOrderingFile(int id);
  void OnClearAll();
  void OnCreateMode();
  void OnUseMode();
  void OnAbout();
  // Hand files. Each asks first when the hand has unsaved changes; Save and Save As save
  // the chart instead while its window is the active document.
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnFileSaveAs();
  void OnOpenRecent(const QString& file);
  // Opens a hand file (Open, Recent Documents, a file named at start-up). A file that
  // cannot be read or is refused is told, and nothing changes. False then, or when the
  // user cancelled.
  bool OpenHandFile(const QString& file, bool askToSave = true);
  // Unsaved changes of the hand: asks whether to save them. False when the user cancelled
  // (or the save failed).
  bool MaybeSaveHand();
  HandSession& Hand() const { return *hand_; }
  // Opens the manual's window, or brings the open one forward.
  void OnHelp();
  void OnNextPane(int step);
  void OnEdit(const char* slot);
  // Undo (or redo) in the focused text box, else in the active range editor.
  void OnUndo(bool redo);
  void ConnectAnalysisCommands();
  void OnChartMakeView();
  void OnChartColour(int id);
  // Check marks and enabled states from the application's state.
  void UpdateCommandUi();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The window's frame is known once it is shown: the first show fits it again.
  void showEvent(QShowEvent* event) override;

 private:
  QAction* MakeAction(int id, const QString& text, bool checkable = false);
  void BuildActions();
  void BuildRibbon();
  void BuildHomeCategory();
  void BuildOtherCategories();
  void BuildPanes();
  void DockPanes();
  void BuildStatusBar();
  void ConnectCommands();
  QMenu* BuildStyleMenu();
  void AddColourButton(widgets::RibbonPanel* panel, int id, bool large, int automatic, int colour);
  QString DocumentTitle() const;
  void BuildFileCommands();
  void FillFileMenu(QMenu* appMenu);
  void FillRecentMenu();
  QString ChooseHandFile(bool save);
  // The hand into its file, or one asked for; false when not saved.
  bool SaveHand();
  bool SaveHandAs();
  bool SaveHandTo(const QString& file);
  // The hand now stands as kept in file: its name, unchanged, first in Recent Documents.
  void KeptIn(const QString& file);
  // The windows of the players' range editors, with their documents.
  void CloseHandEditors();
  CChartView* ActiveChartView() const;
  // The title and its unsaved-changes mark.
  void ShowHandState();
  // Shrinks and moves the window into its screen's available area; a first start fills it.
  void FitToScreen(bool firstStart);

  CFerroxApp& app_;
  QString appTitle_;
  std::map<int, QAction*> actions_;
  std::map<int, QDockWidget*> panes_;
  std::map<int, widgets::ColourButton*> colourButtons_;
  widgets::RibbonBar* ribbon_ = nullptr;
  CaptionBar* caption_ = nullptr;
  std::unique_ptr<HandSession> hand_;
  QMenu* recentMenu_ = nullptr;
  QMdiArea* mdi_ = nullptr;
  COutputWnd* output_ = nullptr;
  QLabel* statusPanes_[2] = {};
  int office2007Style_ = 0;  // none chosen yet
  bool closing_ = false;
  bool shown_ = false;
};

}  // namespace ferrox
