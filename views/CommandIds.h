#pragma once
// Command ids of the main window and of the two library panes, written once. A frame
// command's name is the objectName of its QAction; a pane command's action is named by its
// number. The ids are those the program's settings and menus have always used.

#include <string_view>

namespace ferrox::cmd {

// X(name, id) for every command of the frame.
#define FERROX_FRAME_COMMANDS(X)                                   \
  X(ID_VIEW_CARDSVIEW, 124)                                        \
  X(ID_VIEW_FILEVIEW, 133) /* "Hands" */                           \
  X(ID_VIEW_CLASSVIEW, 134) /* "Tree" */                           \
  X(ID_VIEW_OUTPUTWND, 149)                                        \
  X(ID_VIEW_APPLOOK_205, 205) /* 205..219: application looks */    \
  X(ID_VIEW_APPLOOK_206, 206)                                      \
  X(ID_VIEW_APPLOOK_207, 207)                                      \
  X(ID_VIEW_APPLOOK_208, 208)                                      \
  X(ID_VIEW_APPLOOK_209, 209)                                      \
  X(ID_VIEW_APPLOOK_210, 210)                                      \
  X(ID_VIEW_APPLOOK_211, 211) /* 211..214: Office 2007, its style */ \
  X(ID_VIEW_APPLOOK_215, 215)                                      \
  X(ID_VIEW_APPLOOK_216, 216)                                      \
  X(ID_VIEW_APPLOOK_217, 217)                                      \
  X(ID_VIEW_APPLOOK_218, 218)                                      \
  X(ID_VIEW_APPLOOK_219, 219)                                      \
  X(ID_CAPTION_GO, 220)                                            \
  X(ID_VIEW_CAPTION_BAR, 221)                                      \
  X(ID_VIEW_RANGEVIEW, 510)                                        \
  X(ID_CHART_VIEW, 10000)                                          \
  X(ID_CHART_CLEAR, 10001)                                         \
  X(ID_CHART_RUN, 10002)                                           \
  X(ID_CHART_BG_COLOR, 10003)                                      \
  X(ID_CHART_GRID_COLOR, 10004)                                    \
  X(ID_HEATMAP_VIEW, 10005)                                        \
  X(ID_HEATMAP_SAVE, 10008)                                        \
  X(ID_SHOWSINGULAR, 10009)                                        \
  X(ID_HIDESINGULAR, 10012)                                        \
  X(ID_VIEW_COLORSPACE, 10013)                                     \
  X(ID_VIEW_COLORSPACE100, 10014)                                  \
  X(ID_HOTNESS_VIEW, 10016)                                        \
  X(ID_HOTNESS_CALC, 10017)                                        \
  X(ID_CLEAR_ALL, 32777)                                           \
  X(ID_BACKGROUND_COLOR, 32778)                                    \
  X(ID_FONT_COLOR, 32779)                                          \
  X(ID_MODE_CREATE, 32790)                                         \
  X(ID_MODE_USE, 32791)                                            \
  X(ID_MODE, 32794)                                                \
  X(ID_VIEW_EVALUATIONVIEW, 32797)                                 \
  X(ID_CHECK_6, 32798)                                             \
  X(ID_CHECK_CHINA, 32799)                                         \
  X(ID_BUTTON_FILE_SIXPLUS, 32804)                                 \
  X(ID_BUTTON_FILE_CHINA, 32806)                                   \
  X(ID_FILE_NEW, 57600)                                            \
  X(ID_FILE_OPEN, 57601)                                           \
  X(ID_FILE_SAVE, 57603)                                           \
  X(ID_FILE_SAVE_AS, 57604)                                        \
  X(ID_EDIT_COPY, 57634)                                           \
  X(ID_EDIT_CUT, 57635)                                            \
  X(ID_EDIT_PASTE, 57637)                                          \
  X(ID_EDIT_UNDO, 57643)                                           \
  X(ID_EDIT_REDO, 57644)                                           \
  X(ID_APP_ABOUT, 57664)                                           \
  X(ID_APP_EXIT, 57665)                                            \
  X(ID_HELP, 57670)                                                \
  X(ID_NEXT_PANE, 57680)                                           \
  X(ID_PREV_PANE, 57681)                                           \
  X(ID_VIEW_STATUS_BAR, 59393)

#define FERROX_COMMAND_ID(name, id) name = id,
enum FrameCommand : int { FERROX_FRAME_COMMANDS(FERROX_COMMAND_ID) };
#undef FERROX_COMMAND_ID

// The name of a frame command ("ID_FILE_NEW"); empty for an id that is none.
constexpr std::string_view FrameCommandName(int id) {
#define FERROX_COMMAND_NAME(name, id) \
  case id: return #name;
  switch (id) { FERROX_FRAME_COMMANDS(FERROX_COMMAND_NAME) }
#undef FERROX_COMMAND_NAME
  return {};
}

// The menu and tool bar commands of the two library panes ("Range" and "Tree"). A pane's
// action is named by its number; the panes never share a menu with the frame, so an id may
// also be a frame command's (ID_SAVE_OUTLINE and ID_CHECK_CHINA).
enum LibraryCommand : int {
  ID_INSERT_RANGE_BEFORE = 2001,
  ID_INSERT_RANGE_AFTER = 2002,
  ID_INSERT_FOLDER_BEFORE = 2003,
  ID_INSERT_FOLDER_AFTER = 2004,
  ID_CLEAR_RANGE = 32780,
  ID_SAVE_RANGE = 32782,
  ID_DELETE_FOLDER = 32783,
  ID_DELETE_RANGE = 32784,
  ID_OPEN_HAND_RANGE = 32787,
  ID_RENAME_FOLDER = 32788,
  ID_RENAME_RANGE = 32789,
  ID_MOVE_DOWN = 32792,
  ID_MOVE_UP = 32793,
  ID_SAVE_OUTLINE = 32799,
  ID_LOAD_OUTLINE = 32800,
  ID_CREATE_RANGE = 32802,
  ID_CREATE_FOLDER = 32810,
  ID_CREATE_SUBFOLDER = 32811,
  ID_CREATE_RANGE_IN_FOLDER = 32812,
  ID_SAVE_RANGE_AS = 32813,
};

// The application looks, as the ribbon's "Style" lists them.
inline constexpr int kAppLookDefault = ID_VIEW_APPLOOK_205;
inline constexpr int kAppLookOfficeXp = ID_VIEW_APPLOOK_206;
inline constexpr int kAppLookWindowsXp = ID_VIEW_APPLOOK_207;
inline constexpr int kAppLookOffice2003 = ID_VIEW_APPLOOK_208;
inline constexpr int kAppLookVs2005 = ID_VIEW_APPLOOK_209;
inline constexpr int kAppLookVs2008 = ID_VIEW_APPLOOK_210;
// Kept from older settings: 211..214 all mean "Office 2007 in its current style".
inline constexpr int kAppLookOffice2007First = ID_VIEW_APPLOOK_211;
inline constexpr int kAppLookOffice2007Last = 214;
inline constexpr int kAppLookOffice2007Blue = ID_VIEW_APPLOOK_215;
inline constexpr int kAppLookOffice2007Black = ID_VIEW_APPLOOK_216;
inline constexpr int kAppLookOffice2007Silver = ID_VIEW_APPLOOK_217;
inline constexpr int kAppLookOffice2007Aqua = ID_VIEW_APPLOOK_218;
inline constexpr int kAppLookWindows7 = ID_VIEW_APPLOOK_219;

}  // namespace ferrox::cmd
