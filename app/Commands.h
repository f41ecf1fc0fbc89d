#pragma once
// The commands of the main window: id, label, status-bar prompt and icon.
#include <vector>

enum CommandId : int {
  ID_FILE_FLD = 32792,
  ID_FILE_OPEN = 57601,
  ID_CVT_QUICK = 32879,
  ID_CVT_LABEL = 32880,
  ID_CVT_SITU = 32811,
  ID_EDIT_SELALL = 32779,
  ID_EDIT_SELNONE = 32778,
  ID_EDIT_SELDEL = 32782,
  ID_EDIT_CLEAR_ALL = 57633,
  ID_EDIT_EXPORTLIST = 32781,
  ID_BTN_LOGWIN = 32877,
  ID_CLR_RGBTRIPLE = 32874,
  ID_CLR_RGBQUAD = 32875,
  ID_CLR_CMYK = 32876,
  ID_ROTATE_ARITH = 32871,
  ID_ROTATE_GEO = 32872,
  ID_OPT_ALL = 32771,
  ID_WEBHOME = 32878,
  ID_HELP_ONLINE = 32798,
  ID_HELP = 57670,
  ID_APP_ABOUT = 57664,
  ID_APP_EXIT = 57665,
  // Commands of the list view itself (its context menu and the "转换列表" menu).
  ID_VIEW_EXPAND_ALL = 33001,
  ID_VIEW_COLLAPSE_ALL = 33002,
  ID_VIEW_OPEN_LOCATION = 33003,
};

struct CommandInfo {
  int id;
  const char* label;   // UTF-8
  const char* prompt;  // UTF-8, shown in the status bar
  const char* icon;    // resource name, or null
};

const std::vector<CommandInfo>& CommandTable();
// The command of `id`, or null.
const CommandInfo* FindCommand(int id);
