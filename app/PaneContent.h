#pragma once
// What each docking pane shows: its view, with the application's model objects handed in.

class QWidget;

namespace ferrox {

class CFerroxApp;
class CMainFrame;

// The content of the pane with that command id, connected to the frame; an empty
// placeholder for panes still to come.
QWidget* PaneContent(CFerroxApp& app, CMainFrame& frame, int paneId, QWidget* parent);

}  // namespace ferrox
