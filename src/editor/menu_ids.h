#pragma once
// Menu command ids of the main window, also sent by keyboard shortcuts.
namespace menu_id {

inline constexpr int kExit = 40001;
inline constexpr int kChangelog = 40005;
inline constexpr int kVersion = 40006;
inline constexpr int kPreferences = 40015;
inline constexpr int kNew = 40016;
inline constexpr int kOpen = 40017;
inline constexpr int kAbout = 40137;
inline constexpr int kSave = 40227;
inline constexpr int kSaveAs = 40228;

}  // namespace menu_id
