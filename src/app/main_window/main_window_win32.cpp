#include "app/main_window/main_window_win32.h"

#include "app/windows/about_window_win32.h"
#include "app/shell/app_context.h"
#include "app/windows/changelog_window_win32.h"
#include "app/main_window/external_editor_win32.h"
#include "app/main_window/file_dialogs_win32.h"
#include "app/main_window/file_drop_win32.h"
#include "app/main_window/file_messages.h"
#include "app/windows/license_window_win32.h"
#include "app/settings/placement.h"
#include "app/windows/preferences_window_win32.h"
#include "app/settings/prefs.h"
#include "app/main_window/recovery_messages.h"
#include "app/shell/resource_ids.h"
#include "app/shell/version_text.h"
#include "build_info.h"
#include "editor/document_file.h"
#include "editor/text_buffer.h"
#include "platform/file_io.h"
#include "platform/file_stamp.h"
#include "platform/handles_win32.h"
#include "platform/out_of_memory_win32.h"
#include "platform/utf8_win32.h"
#include "view/editor_window_win32.h"
#include "view/gfx/window_surface_win32.h"
#include "view/layout/monitor_fit_win32.h"

namespace {

constexpr size_t kMaxInitialTitle = 512;

}  // namespace

MainWindow::MainWindow()
    : backgroundColor_(pref_background_color(AppContext::instance().prefs)),
      skin_(std::make_unique<SkinSource>(AppContext::instance().executableFolder + "skin\\mask\\scrollbar.png")),
      clipboard_(*defaultCursesServices().clipboard) {}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

bool MainWindow::create(HINSTANCE instance) {
    HWND created = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), GetDesktopWindow(), guardedProcedure<dialogProc>,
                                      reinterpret_cast<LPARAM>(this));
    return created != nullptr;
}

EditorView* MainWindow::editorView() const { return EditorView::fromWindow(editor_); }

void MainWindow::setTitle(const char* utf8) {
    title_ = utf8;
    if (window_) utf8::setWindowText(window_, utf8);
}

bool MainWindow::mouseCaptured() const {
    HWND capture = GetCapture();
    return capture != nullptr && capture == editorWindow();
}

bool MainWindow::pointerInEditor() const {
    HWND editor = editorWindow();
    POINT pointer;
    if (!editor || !GetCursorPos(&pointer) || !ScreenToClient(editor, &pointer)) return false;
    RECT client;
    GetClientRect(editor, &client);
    return pointer.x >= client.left && pointer.x <= client.right && pointer.y >= client.top && pointer.y <= client.bottom;
}

void MainWindow::hidePointer() { SetCursor(nullptr); }

void MainWindow::shareCopy(const std::vector<std::string>& pieces) { clipboard_.share(window_, pieces); }

bool MainWindow::foreignClipboard(std::vector<std::string>& pieces) { return clipboard_.foreignText(window_, pieces); }

INT_PTR CALLBACK MainWindow::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<MainWindow*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        self->initialise(window);
        return TRUE;
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return FALSE;
    switch (message) {
    case WM_COMMAND:
        self->command(LOWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            self->close();
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // "End task" and other programs close the window this way: as the close box does.
        self->close();
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) self->endSession();
        return TRUE;
    case WM_TIMER:
        if (wParam == kRecoveryTimer) self->tickRecovery();
        return TRUE;
    case WM_DROPFILES:
        // A drop while a file is loaded or saved would change the document under it.
        if (self->busy_) DragFinish(reinterpret_cast<HDROP>(wParam));
        else openDroppedFiles(reinterpret_cast<HDROP>(wParam), *self);
        return TRUE;
    case WM_DPICHANGED:
        self->dpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_SIZE:
        self->layout(wParam);
        return TRUE;
    case WM_MOVE: {
        int clientX = static_cast<short>(LOWORD(lParam));
        int clientY = static_cast<short>(HIWORD(lParam));
        // Only a move the user drags is remembered; programmatic moves are not.
        if (clientX >= 0 && clientY >= 0 && GetCapture() == window) self->rememberRect();
        return TRUE;
    }
    case WM_PAINT:
        self->paint();
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrW(window, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_DESTROY:
        self->destroy();
        return TRUE;
    default:
        return self->clipboard_.handleMessage(window, message, wParam) ? TRUE : FALSE;
    }
}

void MainWindow::endSession() {
    writePlacement();
    if (recovery_ && document_) recovery_->finish(*document_);
}

void MainWindow::tickRecovery() {
    if (recovery_ && document_ && !busy_) recovery_->tick(*document_, static_cast<int64_t>(GetTickCount64()));
}

void MainWindow::initialise(HWND window) {
    window_ = window;
    AppContext& app = AppContext::instance();
    app.mainWindow = this;
    applicationName_ = kProductName;
    setTitle(applicationName_.c_str());
    sizer_.init(window);
    menu_ = LoadMenuW(static_cast<HINSTANCE>(app.instanceHandle), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    SetMenu(window, menu_);
    // Files dropped anywhere on the window, the editor included, come here.
    DragAcceptFiles(window, TRUE);

    x_ = placement_get_int("main_wnd_x", 50);
    y_ = placement_get_int("main_wnd_y", 50);
    width_ = placement_get_int("main_wnd_w", 1120);
    height_ = placement_get_int("main_wnd_h", 900);
    // A monitor unplugged since, or a screen smaller than the rectangle, must not hide it.
    RECT shown = placeOnNearestWorkArea(window, {x_, y_, width_, height_});
    x_ = shown.left;
    y_ = shown.top;
    width_ = shown.right - shown.left;
    height_ = shown.bottom - shown.top;
    ShowWindow(window, placement_get_int("main_wnd_maximized", 0) ? SW_SHOWMAXIMIZED : SW_SHOW);

    view_ = std::make_unique<ViewState>();
    EditorDefaults defaults{pref_crlf(app.prefs), pref_space(app.prefs), pref_tab_size(app.prefs)};
    document_ = std::make_unique<Document>(*this, *view_, defaults);
    createEditor();
    // The editor gets its size now: a long start-up load shows its progress there.
    layout(IsZoomed(window) ? SIZE_MAXIMIZED : SIZE_RESTORED);
    TextBuffer title;
    title.setFormat(kMaxInitialTitle, "%s - *", applicationName_.c_str());
    setTitle(title.c_str());

    // A file that cannot be opened starts an empty document without a word; one that opens
    // but cannot be read whole is reported, so its truncated text is never saved over it.
    document_->newDocument();
    bool startedWithFile = !app.commandLinePath.empty();
    if (startedWithFile && FileReader(app.commandLinePath).isOpen())
        reportLoad(loadShowingProgress(app.commandLinePath), app.commandLinePath, false);
    app.commandLinePath.clear();
    // The first document has nothing before it to go back to.
    document_->history.clear();
    folders_ = makeSystemFolderPlatform();
    recovery_ = std::make_unique<RecoveryKeeper>(app.dataFolder, *folders_);
    // A start with a file opens that file; leftover unsaved text waits for a start without one.
    if (!startedWithFile) restoreUnsavedText();
    SetTimer(window, kRecoveryTimer, kRecoveryTickMs, nullptr);

    layout(IsZoomed(window) ? SIZE_MAXIMIZED : SIZE_RESTORED);
}

void MainWindow::createEditor() {
    const PrefStore& prefs = AppContext::instance().prefs;
    EditorWindowArgs args;
    args.document = document_.get();
    args.skin = skin_.get();
    args.settings.textFont = pref_text_font(prefs);
    args.settings.textFontHeight = pref_text_font_height(prefs);
    args.settings.showWhitespace = pref_show_whitespace(prefs);
    args.settings.backgroundColor = pref_background_color(prefs);
    args.settings.textColor = pref_text_color(prefs);
    args.settings.activeTextColor = pref_active_text_color(prefs);
    editor_ = createEditorWindow(window_, IDC_EDITOR, static_cast<HINSTANCE>(AppContext::instance().instanceHandle), args);
}

void MainWindow::close() {
    if (busy_) {
        // A load stops and a save finishes first; the window closes after.
        busy_->stop();
        closeWhenIdle_ = true;
        return;
    }
    if (fullscreen_) toggle_fullscreen();
    // A copy only promised is written out as the window goes, and under Wine the clipboard
    // takes a big one at about 80 MB a second: the window leaves the screen first.
    if (clipboard_.promising()) ShowWindow(window_, SW_HIDE);
    DestroyWindow(window_);
}

void MainWindow::layout(WPARAM sizeKind) {
    if (sizeKind == SIZE_MINIMIZED) return;
    sizer_.resize();
    RECT client;
    GetClientRect(window_, &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    topStrip_.resize(width, kMarginPixels);
    leftStrip_.resize(kMarginPixels, height);
    if (HWND editor = editorWindow())
        SetWindowPos(editor, nullptr, client.left + kMarginPixels, client.top + kMarginPixels, width - kMarginPixels,
                     height - kMarginPixels, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
    if (!IsZoomed(window_)) rememberRect();
}

void MainWindow::paint() {
    win32::PaintDC paint(window_);
    HDC dc = paint.get();
    uint32_t colour = 0xFF000000u | static_cast<uint32_t>(backgroundColor_);
    topStrip_.clear(colour);
    leftStrip_.clear(colour);
    RECT client;
    GetClientRect(window_, &client);
    RECT top{0, 0, client.right, kMarginPixels};
    RECT left{0, 0, kMarginPixels, client.bottom};
    if (!topStrip_.empty()) copyToWindow(topStrip_, 0, 0, dc, top);
    if (!leftStrip_.empty()) copyToWindow(leftStrip_, 0, 0, dc, left);
}

template <typename Work>
auto MainWindow::whileBusy(TransferKind kind, Work&& work) {
    BusyTransfer busy(editor_, kind);
    busy_ = &busy;
    struct Over {
        MainWindow& window;
        ~Over() {
            window.busy_ = nullptr;
            if (window.closeWhenIdle_) PostMessageW(window.window_, WM_CLOSE, 0, 0);
            window.closeWhenIdle_ = false;
        }
    } over{*this};
    return work(busy);
}

LoadResult MainWindow::loadShowingProgress(const std::string& path) {
    return whileBusy(TransferKind::Load, [&](BusyTransfer& busy) { return loadDocument(*document_, path, &busy); });
}

void MainWindow::save(bool askForPath) {
    std::string path = document_->path;
    SaveOutcome outcome;
    if (askForPath || path.empty()) {
        std::string chosen;
        if (!choose_file_for_save(window_, chosen)) return;
        if (!path.empty() && chosen == path && !mayWriteOver(chosen)) return;
        path = chosen;
        outcome = whileBusy(TransferKind::Save,
                            [&](BusyTransfer& busy) { return saveDocumentAs(*document_, path, &busy); });
    } else {
        if (!mayWriteOver(path)) return;
        outcome = whileBusy(TransferKind::Save, [&](BusyTransfer& busy) { return saveDocument(*document_, &busy); });
    }
    if (outcome.result != SaveResult::Saved) showError(saveFailedMessage(path, outcome));
}

void MainWindow::openFile() {
    std::string path;
    if (choose_file_for_open(window_, pref_preserve_directory(AppContext::instance().prefs), path)) openPath(path);
}

void MainWindow::openPath(const std::string& path) {
    if (busy_) return;
    reportLoad(loadShowingProgress(path), path, true);
    // An opened (or dropped) document starts at its top: the scrollbar shows it.
    if (EditorView* view = editorView()) view->followView();
}

void MainWindow::reportLoad(LoadResult result, const std::string& path, bool reportCannotOpen) {
    switch (result) {
    case LoadResult::Loaded: {
        // Bytes the lines cannot hold are pointed out once, before any save could cut them out.
        std::string notice = loadedWithBytesOutOfReachMessage(path, document_->format);
        if (!notice.empty()) utf8::messageBox(window_, notice.c_str(), kNoticeCaption, MB_ICONWARNING);
        return;
    }
    case LoadResult::CannotOpen:
        if (reportCannotOpen) showError(openFailedMessage(path));
        return;
    case LoadResult::ReadFailed: showError(readFailedMessage(path)); return;
    case LoadResult::OutOfMemory: showError(loadOutOfMemoryMessage(path)); return;
    case LoadResult::Cancelled: return;  // the user stopped it: the document is as it was
    }
}

bool MainWindow::mayWriteOver(const std::string& path) {
    // Only a file this text was read from or saved to can have been changed behind its back.
    if (!document_->disk.known || fileStamp(path) == document_->disk.stamp) return true;
    int answer = utf8::messageBox(window_, changedOnDiskQuestion(path).c_str(), kProductName, MB_YESNO | MB_ICONWARNING);
    return answer == IDYES;
}

void MainWindow::restoreUnsavedText() {
    RecoveryKeeper::Restored restored = recovery_->restoreNewest(*document_);
    if (!restored.found) return;
    std::string message = restoredMessage(restored.rebuilt, restored.recordKeptAs);
    if (!message.empty()) utf8::messageBox(window_, message.c_str(), kProductName, MB_ICONWARNING);
}

void MainWindow::showError(const std::string& message) {
    utf8::messageBox(window_, message.c_str(), kErrorCaption, MB_ICONERROR);
}

void MainWindow::showVersion() {
    utf8::messageBox(window_, versionText().c_str(), kVersionCaption);
}

void MainWindow::command(int id) {
    // A menu opened while a file is loaded or saved: only Exit is taken, and waits for it.
    if (busy_) {
        if (id == ID_FILE_EXIT) close();
        return;
    }
    AppContext& app = AppContext::instance();
    switch (id) {
    case ID_FILE_NEW: document_->newDocument(); break;
    case ID_FILE_OPEN: openFile(); break;
    case ID_FILE_SAVE: save(false); break;
    case ID_FILE_SAVE_AS: save(true); break;
    case ID_FILE_EXIT: close(); break;
    case ID_OPTIONS_PREFERENCES:
        if (pref_curses_preferences(app.prefs))
            AuxiliaryWindow::openOrFocus<PreferencesWindow>(app.windows.preferences);
        else
            prefs_open_external(app.dataFolder, window_);
        break;
    case ID_HELP_DOCUMENTATION: openInExternalEditor(window_, app.executableFolder + "documentation.txt"); break;
    case ID_HELP_VERSION: showVersion(); break;
    case ID_HELP_ABOUT: AuxiliaryWindow::openOrFocus<AboutWindow>(app.windows.about); break;
    case ID_HELP_CHANGELOG: AuxiliaryWindow::openOrFocus<ChangelogWindow>(app.windows.changelog); break;
    case ID_HELP_LICENSE: AuxiliaryWindow::openOrFocus<LicenseWindow>(app.windows.license); break;
    case ID_HELP_WEBSITE: utf8::shellExecute(window_, nullptr, ORVANE_WEBSITE, nullptr, SW_SHOWNORMAL); break;
    default: break;
    }
    // A new document starts at its top: the scrollbar shows it.
    if (id == ID_FILE_NEW)
        if (EditorView* view = editorView()) view->followView();
}

void MainWindow::destroy() {
    writePlacement();
    // Exit keeps unsaved text for the next start, on the disk before the process ends.
    KillTimer(window_, kRecoveryTimer);
    if (recovery_ && document_) recovery_->finish(*document_);
    recovery_.reset();
    // A copy only promised to the clipboard is read from the document, which goes below.
    clipboard_.keepAfterOwner(window_);
    // The editor window goes with its parent; the document must outlive it.
    if (editor_) DestroyWindow(editor_);
    editor_ = nullptr;
    skin_->release();
    document_.reset();
    view_.reset();
    AppContext::instance().mainWindow = nullptr;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    PostQuitMessage(0);
}
