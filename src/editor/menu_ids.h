#pragma once
// Menu command ids of the main window, also sent by keyboard shortcuts. Plain macros, so the
// resource script can use them too.

#define ID_FILE_EXIT 40001
#define ID_HELP_TEXT_FILE_LABEL 40002
#define ID_HELP_DOCUMENTATION 40003
#define ID_HELP_CHANGELOG 40005
#define ID_HELP_VERSION 40006
#define ID_HELP_ONLINE_LABEL 40007
#define ID_HELP_WEBSITE 40008
#define ID_HELP_LICENSE 40009
#define ID_OPTIONS_PREFERENCES 40015
#define ID_FILE_NEW 40016
#define ID_FILE_OPEN 40017
#define ID_HELP_ABOUT 40137
#define ID_FILE_SAVE 40227
#define ID_FILE_SAVE_AS 40228

#ifndef RC_INVOKED
namespace menu_id {

inline constexpr int kExit = ID_FILE_EXIT;
inline constexpr int kChangelog = ID_HELP_CHANGELOG;
inline constexpr int kVersion = ID_HELP_VERSION;
inline constexpr int kPreferences = ID_OPTIONS_PREFERENCES;
inline constexpr int kNew = ID_FILE_NEW;
inline constexpr int kOpen = ID_FILE_OPEN;
inline constexpr int kAbout = ID_HELP_ABOUT;
inline constexpr int kSave = ID_FILE_SAVE;
inline constexpr int kSaveAs = ID_FILE_SAVE_AS;

}  // namespace menu_id
#endif
