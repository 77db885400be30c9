#pragma once
// Command ids of the main window; each is also the objectName of its QAction.

namespace ferrox::cmd {

inline constexpr int kAppLookDefault = 205;  // 205..219: application looks
inline constexpr int kAppLookOfficeXp = 206;
inline constexpr int kAppLookWindowsXp = 207;
inline constexpr int kAppLookOffice2003 = 208;
inline constexpr int kAppLookVs2005 = 209;
inline constexpr int kAppLookVs2008 = 210;
inline constexpr int kAppLookOffice2007First = 211;  // 211..214: Office 2007, current style
inline constexpr int kAppLookOffice2007Blue = 215;
inline constexpr int kAppLookOffice2007Black = 216;
inline constexpr int kAppLookOffice2007Silver = 217;
inline constexpr int kAppLookOffice2007Aqua = 218;
inline constexpr int kAppLookWindows7 = 219;

inline constexpr int ID_VIEW_CARDSVIEW = 124;
inline constexpr int ID_VIEW_FILEVIEW = 133;  // "Hands"
inline constexpr int ID_VIEW_CLASSVIEW = 134;  // "Tree"
inline constexpr int ID_VIEW_OUTPUTWND = 149;
inline constexpr int ID_CAPTION_GO = 220;
inline constexpr int ID_VIEW_CAPTION_BAR = 221;
inline constexpr int ID_VIEW_RANGEVIEW = 510;
inline constexpr int ID_CHART_VIEW = 10000;
inline constexpr int ID_CHART_CLEAR = 10001;
inline constexpr int ID_CHART_RUN = 10002;
inline constexpr int ID_CHART_BG_COLOR = 10003;
inline constexpr int ID_CHART_GRID_COLOR = 10004;
inline constexpr int ID_HEATMAP_VIEW = 10005;
inline constexpr int ID_HEATMAP_SAVE = 10008;
inline constexpr int ID_SHOWSINGULAR = 10009;
inline constexpr int ID_HIDESINGULAR = 10012;
inline constexpr int ID_VIEW_COLORSPACE = 10013;
inline constexpr int ID_VIEW_COLORSPACE100 = 10014;
inline constexpr int ID_HOTNESS_VIEW = 10016;
inline constexpr int ID_HOTNESS_CALC = 10017;
inline constexpr int ID_CLEAR_ALL = 32777;
inline constexpr int ID_BACKGROUND_COLOR = 32778;
inline constexpr int ID_FONT_COLOR = 32779;
inline constexpr int ID_MODE_CREATE = 32790;
inline constexpr int ID_MODE_USE = 32791;
inline constexpr int ID_MODE = 32794;
inline constexpr int ID_VIEW_EVALUATIONVIEW = 32797;
inline constexpr int ID_CHECK_6 = 32798;
inline constexpr int ID_CHECK_CHINA = 32799;
inline constexpr int ID_BUTTON_FILE_SIXPLUS = 32804;
inline constexpr int ID_BUTTON_FILE_CHINA = 32806;
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

}  // namespace ferrox::cmd
