#pragma once
// The two range library panes ("Range": the user's ranges, "Tree": the predefined
// rankings), made with the application's libraries handed in, and their loading at start-up.

#include <QString>

class QWidget;

namespace ferrox {

class CFerroxApp;
class CMainFrame;

QWidget* RangePane(CFerroxApp& app, CMainFrame& frame, QWidget* parent);
QWidget* ClassPane(CFerroxApp& app, CMainFrame& frame, QWidget* parent);
// Fills the rankings tree from "Range6Plus.xml" and the range tree from the file the
// "UserRangePath" setting names; failures are told in boxes that do not hold up the start.
void LoadRangeLibraries(CFerroxApp& app, CMainFrame& frame);
// The category label of editor titles: "(Equilab)", or "(name)" of the rankings selection.
QString RangeCategoryLabel(CFerroxApp& app, CMainFrame& frame);

}  // namespace ferrox
