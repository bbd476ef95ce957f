#pragma once
// The main window: a dialog of class orvane_superhost hosting the editor window over the one
// document, with the menu, the title, the remembered placement, full-screen mode and the
// 7-pixel margins in the background colour.
#include <windows.h>

#include <memory>
#include <string>

#include "editor/document.h"
#include "app/main_window/busy_transfer_win32.h"
#include "app/main_window/main_clipboard_win32.h"
#include "app/main_window/recovery_keeper.h"
#include "editor/document_file.h"
#include "view/gfx/surface.h"
#include "view/layout/window_sizer_win32.h"
#include "view/scrollbar/scroll_skin.h"

class EditorView;

class MainWindow final : public DocumentHost {
public:
    MainWindow();
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window from its template with the desktop as parent; false on failure.
    bool create(HINSTANCE instance);
    HWND window() const { return window_; }
    HWND editorWindow() const { return editor_; }
    EditorView* editorView() const;
    Document* document() { return document_.get(); }
    ViewState* viewState() { return view_.get(); }

    void toggle_fullscreen();
    bool fullscreen() const { return fullscreen_; }
    // Runs a menu command as the menu would.
    void command(int id);
    // Loads the file at path into the document as Open does, and says why when it cannot.
    void openPath(const std::string& path);

    // DocumentHost
    void setTitle(const char* utf8) override;
    const char* applicationName() const override { return applicationName_.c_str(); }
    bool mouseCaptured() const override;
    bool pointerInEditor() const override;
    void hidePointer() override;
    void shareCopy(const std::vector<std::string>& pieces) override;
    bool foreignClipboard(std::vector<std::string>& pieces) override;

    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void initialise(HWND window);
    void layout(WPARAM sizeKind);
    void rememberRect();
    void paint();
    void destroy();
    // Windows is shutting down and may not destroy the window first.
    void endSession();
    void tickRecovery();
    void createEditor();
    void close();
    void writePlacement();
    void dpiChanged(const RECT& suggested);
    void save(bool askForPath);
    void openFile();
    // Loads a file the user asked for: a long load shows its progress and Esc stops it.
    LoadResult loadShowingProgress(const std::string& path);
    // Runs a long load or save with the window answering meanwhile (work gets the progress);
    // a close asked for meanwhile follows once it is over.
    template <typename Work>
    auto whileBusy(TransferKind kind, Work&& work);
    // Tells the user why a load left the document as it was.
    void reportLoad(LoadResult result, const std::string& path, bool reportCannotOpen);
    void showError(const std::string& message);
    // Brings back the unsaved text a previous instance left, if any, and says what could not be.
    void restoreUnsavedText();
    // Whether a save may write over the file: another program may have changed it meanwhile.
    bool mayWriteOver(const std::string& path);
    void showVersion();

    HWND window_ = nullptr;
    int x_ = 50, y_ = 50, width_ = 1120, height_ = 900;
    WindowSizer sizer_;
    HMENU menu_ = nullptr;
    Surface topStrip_;
    Surface leftStrip_;
    std::string title_;
    std::string applicationName_;
    bool fullscreen_ = false;
    LONG_PTR savedStyle_ = 0;
    LONG_PTR savedExStyle_ = 0;
    bool wasMaximized_ = false;
    int backgroundColor_ = 0;
    std::unique_ptr<SkinSource> skin_;
    HWND editor_ = nullptr;
    std::unique_ptr<ViewState> view_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<FolderPlatform> folders_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    MainClipboard clipboard_;
    // The load or save under way, while one is: commands, drops and the recovery record wait.
    BusyTransfer* busy_ = nullptr;
    bool closeWhenIdle_ = false;
};

inline constexpr UINT_PTR kRecoveryTimer = 151;
inline constexpr UINT kRecoveryTickMs = 100;

inline constexpr int kMarginPixels = 7;
