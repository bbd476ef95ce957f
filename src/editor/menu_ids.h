#pragma once
// Menu command ids of the main window, also sent by keyboard shortcuts. The numbers live with
// the resource script's other identifiers.
#include "app/resource_ids.h"

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
