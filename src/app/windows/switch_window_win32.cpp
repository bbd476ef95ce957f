#include "app/windows/switch_window_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/shell/app_context.h"
#include "app/settings/prefs.h"
#include "app/shell/resource_ids.h"
#include "platform/utf8_win32.h"

namespace {

constexpr int kColumnMargin = 7;

COLORREF fromRgb(int rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

BOOL CALLBACK collectMainWindow(HWND window, LPARAM data) {
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (lstrcmpW(className, L"orvane_superhost") == 0) {
        auto* entries = reinterpret_cast<std::vector<SwitchEntry<HWND>>*>(data);
        entries->push_back({window, switchLabel(utf8::getWindowText(window))});
    }
    return TRUE;
}

}  // namespace

SwitchWindow::SwitchWindow() : AuxiliaryWindow(IDD_SWITCH, &AppContext::instance().windows.switchWindow) {}

HWND SwitchWindow::list() const { return GetDlgItem(window_, IDC_SWITCH_LIST); }

BOOL SwitchWindow::initialise() {
    HWND view = list();
    utf8::attachListViewAdapter(view);
    coverClientArea(view);
    sizer_.init(window_);
    sizer_.add(view, 0, 0, 1, 1);
    collect();
    placeFromStore("switch", 400, 900, true);
    ListView_SetExtendedListViewStyle(view, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_DOUBLEBUFFER);
    const PrefStore& prefs = AppContext::instance().prefs;
    ListView_SetBkColor(view, fromRgb(pref_background_color(prefs)));
    ListView_SetTextBkColor(view, fromRgb(pref_background_color(prefs)));
    ListView_SetTextColor(view, fromRgb(pref_text_color(prefs)));
    fillList();
    SetFocus(view);
    return FALSE;
}

void SwitchWindow::collect() {
    // A snapshot: the list is not refreshed while the window is open.
    entries_.clear();
    EnumWindows(collectMainWindow, reinterpret_cast<LPARAM>(&entries_));
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const auto& a, const auto& b) { return switchLabelLess(a.label, b.label); });
}

void SwitchWindow::fillList() {
    HWND view = list();
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.pszText = const_cast<char*>("");
    RECT client{};
    GetClientRect(view, &client);
    column.cx = client.right - client.left - kColumnMargin;
    SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (size_t i = 0; i < entries_.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(entries_[i].label.c_str());
        item.lParam = static_cast<LPARAM>(i);
        SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    ListView_SetItemState(view, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void SwitchWindow::fitColumn() {
    RECT client{};
    GetClientRect(list(), &client);
    ListView_SetColumnWidth(list(), 0, client.right - client.left - kColumnMargin);
}

void SwitchWindow::choose() {
    HWND view = list();
    int row = ListView_GetNextItem(view, -1, LVNI_FOCUSED | LVNI_SELECTED);
    if (row >= 0) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        if (ListView_GetItem(view, &item) && item.lParam >= 0 && static_cast<size_t>(item.lParam) < entries_.size()) {
            // A window that closed since the list was made is simply not found.
            HWND target = entries_[static_cast<size_t>(item.lParam)].window;
            if (IsWindow(target)) SetForegroundWindow(target);
        }
    }
    close();
}

INT_PTR SwitchWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) return FALSE;
        choose();
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_SWITCH_LIST || header->code != NM_DBLCLK) return FALSE;
        choose();
        return TRUE;
    }
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) return TRUE;
        sizer_.resize();
        fitColumn();
        return TRUE;
    default: return FALSE;
    }
}

void SwitchWindow::destroyed() { writePlacement("switch", true); }

void show_switch_window() { AuxiliaryWindow::openOrFocus<SwitchWindow>(AppContext::instance().windows.switchWindow); }
