#pragma once
// The colour entries (attributes) the curses editor and its hosts write with; the screen's
// colour table gives each its foreground and background.
namespace attr {
constexpr int kText = 0;         // document text
constexpr int kHelp = 2;         // status line, key-help line, host help text
constexpr int kHotKey = 3;       // highlighted key letters in help text
constexpr int kSelection = 4;    // selected text
constexpr int kMessage = 24;     // prompt line and status messages
constexpr int kTitleErase = 26;  // title line background
constexpr int kTitle = 27;       // title line text
}  // namespace attr
