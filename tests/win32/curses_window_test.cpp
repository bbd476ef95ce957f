#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "curses/editor/curses_editor.h"
#include "curses/screen/curses_window_win32.h"

namespace {

void pumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps messages for about ms milliseconds.
void pumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pumpPending();
    }
}

bool isBright(COLORREF c) { return GetRValue(c) > 0x80 && GetGValue(c) > 0x80 && GetBValue(c) > 0x80; }

// A top-level window of the class with an editor on its screen, as a host sets one up: the
// editor is made on the screen first, then the window is attached and the text drawn.
class CursesWindowTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(register_curses_window_class(GetModuleHandleW(nullptr)));
        editor = std::make_unique<CursesEditor>(screen);
        window = CreateWindowExW(0, kCursesWindowClass, L"Orvane curses test", WS_POPUP | WS_VISIBLE, 80, 80, 480, 320, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(attach_curses_window(screen, window));
        // The test drives the blink itself.
        KillTimer(window, kCursesBlinkTimer);
        editor->doc.lines = {"Hello, curses", "  second line", "third"};
        for (int i = 4; i <= 60; ++i) editor->doc.lines.push_back("line " + std::to_string(i));
        editor->doc.file_name = "demo.txt";
        editor->push_undo();
        editor->history.saved_pos = editor->history.pos;
        editor->draw(-1);
        editor->set_cursor(false, -1);
        SetForegroundWindow(window);
        SetFocus(window);
        pumpPending();
        UpdateWindow(window);
    }
    void TearDown() override {
        editor.reset();
        if (window) DestroyWindow(window);
        pumpPending();
    }

    COLORREF pixel(int x, int y) {
        UpdateWindow(window);
        HDC dc = GetDC(window);
        COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return c;
    }
    // Any bright pixel inside the cell: a glyph was drawn there.
    bool cellHasGlyph(int row, int col) {
        UpdateWindow(window);
        HDC dc = GetDC(window);
        bool found = false;
        for (int y = row * screen.cell_height; y < (row + 1) * screen.cell_height && !found; ++y)
            for (int x = col * screen.cell_width; x < (col + 1) * screen.cell_width && !found; ++x)
                found = isBright(GetPixel(dc, x, y));
        ReleaseDC(window, dc);
        return found;
    }
    void tick() {
        SendMessageW(window, WM_TIMER, kCursesBlinkTimer, 0);
        UpdateWindow(window);
    }
    // A column of the row whose cell is blank, so its centre shows the background.
    int blankColumn(int row) {
        for (int col = screen.cols - 3; col > 0; --col) {
            const ScreenCell* cell = screen.cell_at(row, col);
            if (cell && (cell->ch == 0 || cell->ch == u' ')) return col;
        }
        return 0;
    }
    int cellCenterX(int col) const { return col * screen.cell_width + screen.cell_width / 2; }
    int cellCenterY(int row) const { return row * screen.cell_height + screen.cell_height / 2; }

    CursesScreen screen;
    std::unique_ptr<CursesEditor> editor;
    HWND window = nullptr;
};

}  // namespace

TEST(CursesWindowClass, RegistersOnceAndCountsLaterCalls) {
    EXPECT_TRUE(register_curses_window_class(GetModuleHandleW(nullptr)));
    EXPECT_TRUE(register_curses_window_class(GetModuleHandleW(nullptr)));
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), kCursesWindowClass, &info));
    EXPECT_TRUE(info.style & CS_DBLCLKS);
    EXPECT_EQ(info.hbrBackground, nullptr);
}

TEST_F(CursesWindowTest, TheGridFollowsTheFontAndTheClientArea) {
    EXPECT_GT(screen.cell_width, 4);
    EXPECT_GT(screen.cell_height, 8);
    EXPECT_EQ(screen.cols, 480 / screen.cell_width);
    EXPECT_EQ(screen.lines, 320 / screen.cell_height);
    EXPECT_EQ(reinterpret_cast<CursesScreen*>(GetWindowLongPtrW(window, GWLP_USERDATA)), &screen);
}

TEST_F(CursesWindowTest, PaintsTheTextTitleAndHelpRowsInTheirColours) {
    EXPECT_TRUE(cellHasGlyph(1, 0));   // "H"
    EXPECT_FALSE(cellHasGlyph(2, 0));  // a blank of the indentation
    EXPECT_TRUE(cellHasGlyph(2, 2));   // "s"
    EXPECT_EQ(pixel(cellCenterX(blankColumn(0)), cellCenterY(0)), RGB(0xC0, 0, 0));  // the title row
    EXPECT_EQ(pixel(cellCenterX(20), cellCenterY(3)), RGB(0, 0, 0));                 // text background
    const int bottom = screen.lines - 1;
    EXPECT_EQ(pixel(cellCenterX(blankColumn(bottom)), cellCenterY(bottom)), RGB(0, 0, 0xC0));  // the help row
    // The scroll bar's thumb at the top of the pane, in the last column.
    EXPECT_EQ(pixel(screen.cols * screen.cell_width - 2, screen.cell_height + 2), RGB(0x60, 0x60, 0x60));
}

TEST_F(CursesWindowTest, TheCaretBlinksInTwoPhasesWhileFocused) {
    ASSERT_EQ(GetFocus(), window);
    // The caret at the end of line 3: a blank cell, so only the caret bar is bright.
    editor->view.cursor_y = 2;
    editor->view.cursor_x = 5;
    editor->set_cursor(false, -1);
    UpdateWindow(window);
    const int barX = 5 * screen.cell_width;
    const int y = cellCenterY(3);
    EXPECT_EQ(pixel(barX, y), RGB(0xC0, 0xC0, 0xC0));  // shown at once after the move
    EXPECT_EQ(pixel(barX + screen.cell_width / 2, y), RGB(0, 0, 0));
    tick();  // phase 1
    tick();  // phase 2
    EXPECT_EQ(pixel(barX, y), RGB(0xC0, 0xC0, 0xC0));
    tick();  // phase 0: hidden
    EXPECT_EQ(pixel(barX, y), RGB(0, 0, 0));
    tick();  // phase 1: shown again
    EXPECT_EQ(pixel(barX, y), RGB(0xC0, 0xC0, 0xC0));
}

TEST_F(CursesWindowTest, AnUnfocusedWindowShowsASteadyCaret) {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 80, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    SetFocus(other);
    pumpPending();
    ASSERT_NE(GetFocus(), window);
    editor->view.cursor_y = 2;
    editor->view.cursor_x = 5;
    editor->set_cursor(false, -1);
    const int barX = 5 * screen.cell_width;
    const int y = cellCenterY(3);
    for (int i = 0; i < 4; ++i) {
        tick();
        EXPECT_EQ(pixel(barX, y), RGB(0xC0, 0xC0, 0xC0)) << "tick " << i;
    }
    DestroyWindow(other);
}

TEST_F(CursesWindowTest, KeyMessagesBecomeQueuedKeyCodes) {
    while (screen.getch() != -1) {
    }
    SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(window, WM_CHAR, L'x', 0);
    SendMessageW(window, WM_KEYDOWN, 'A', 0);  // no Ctrl held: the character message types it
    SendMessageW(window, WM_CHAR, 8, 0);       // already given by the key-down message
    SendMessageW(window, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(screen.getch(), 4096);
    EXPECT_EQ(screen.getch(), 'x');
    EXPECT_EQ(screen.getch(), 4110);
    EXPECT_EQ(screen.getch(), -1);
}

TEST_F(CursesWindowTest, TheRunLoopTypesQueuedCharacters) {
    editor->view.cursor_y = 2;
    editor->view.cursor_x = 5;
    SendMessageW(window, WM_CHAR, L'!', 0);
    SendMessageW(window, WM_CHAR, 0xD83D, 0);  // a character beyond the Basic Multilingual Plane
    SendMessageW(window, WM_CHAR, 0xDE00, 0);
    editor->run();
    EXPECT_EQ(editor->doc.lines[2], "third!\xF0\x9F\x98\x80");
}

TEST_F(CursesWindowTest, MinimumTrackingSizeAndDialogCode) {
    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 160);
    EXPECT_EQ(info.ptMinTrackSize.y, 120);
    EXPECT_EQ(SendMessageW(window, WM_GETDLGCODE, 0, 0), 0);  // no parent: nothing asked
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    CursesScreen childScreen;
    HWND child = CreateWindowExW(0, kCursesWindowClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, nullptr,
                                 GetModuleHandleW(nullptr), &childScreen);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(childScreen.window == nullptr, false);  // attached through the creation parameter
    EXPECT_EQ(SendMessageW(child, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    DestroyWindow(parent);
    EXPECT_EQ(childScreen.window, nullptr);
}

TEST_F(CursesWindowTest, MouseMessagesReachTheEditor) {
    LPARAM at = MAKELPARAM(cellCenterX(4), cellCenterY(2));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(editor->view.cursor_y, 1);
    EXPECT_EQ(editor->view.cursor_x, 4);
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(CursesWindowTest, TheWheelAndItsRegisteredAliasScrollThePane) {
    POINT p{cellCenterX(5), cellCenterY(4)};
    ClientToScreen(window, &p);
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(p.x, p.y));
    EXPECT_EQ(editor->panes.pane_offset[0], 6);
    UINT alias = RegisterWindowMessageW(L"MSWHEEL_ROLLMSG");
    ASSERT_NE(alias, 0u);
    SendMessageW(window, alias, static_cast<WPARAM>(static_cast<WORD>(-120)), MAKELPARAM(p.x, p.y));
    EXPECT_EQ(editor->panes.pane_offset[0], 12);
}

TEST_F(CursesWindowTest, ResizingRebuildsTheGridAndRedraws) {
    SetWindowPos(window, nullptr, 0, 0, 640, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    pumpPending();
    EXPECT_EQ(screen.cols, 640 / screen.cell_width);
    EXPECT_EQ(screen.lines, 400 / screen.cell_height);
    EXPECT_EQ(screen.cell_at(1, 0)->ch, u'H');
}

TEST_F(CursesWindowTest, DestroyingTheEditorDetachesTheWindow) {
    editor.reset();
    EXPECT_EQ(screen.window, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_USERDATA), 0);
    // Messages now go to the default handler.
    SendMessageW(window, WM_CHAR, L'x', 0);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

TEST_F(CursesWindowTest, TheClipboardKeepsUnicodeText) {
    SystemClipboard* clipboard = defaultCursesServices().clipboard;
    ASSERT_NE(clipboard, nullptr);
    const std::u16string text = u"caf\u00E9\r\n\U0001F600";
    ASSERT_TRUE(clipboard->setUnicodeText(screen.window.get(), text));
    EXPECT_EQ(clipboard->unicodeText(screen.window.get()), text);
}

// Keeps a window up for a screenshot when ORVANE_CURSES_SHOT_SECONDS is set.
TEST_F(CursesWindowTest, KeepsAWindowUpForAScreenshot) {
    const char* seconds = std::getenv("ORVANE_CURSES_SHOT_SECONDS");
    if (!seconds) GTEST_SKIP() << "set ORVANE_CURSES_SHOT_SECONDS to keep the window up";
    editor->sel.selecting = true;
    editor->sel.sel_x1 = 2;
    editor->sel.sel_y1 = 1;
    editor->sel.sel_x2 = 4;
    editor->sel.sel_y2 = 2;
    editor->panes.split_ratio = 0.5;
    editor->panes.pane_offset[1] = 30;
    editor->draw(-1);
    editor->show_message("Found @ Line 2 Col 3 'second' (Shift+)F3|Ctrl+G:(prev)next");
    SetTimer(window, kCursesBlinkTimer, kCursesBlinkMs, nullptr);
    pumpFor(static_cast<DWORD>(std::atoi(seconds)) * 1000);
}
