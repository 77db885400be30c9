#pragma once
// What each docking pane shows: its view, with the application's model objects handed in.

#include <map>

class QDockWidget;
class QWidget;

namespace ferrox {

class CFerroxApp;
class CMainFrame;

// The content of the pane with that command id, connected to the frame; null for an id
// that names no pane.
QWidget* PaneContent(CFerroxApp& app, CMainFrame& frame, int paneId, QWidget* parent);
// Once every pane exists: the analysis panes that feed each other.
void ConnectAnalysisPanes(CFerroxApp& app, const std::map<int, QDockWidget*>& panes);
// The grids' column widths into the settings, when the frame closes.
void SavePaneColumnWidths(const std::map<int, QDockWidget*>& panes);

}  // namespace ferrox
