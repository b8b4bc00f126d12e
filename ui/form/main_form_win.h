// TMainForm: the program's one window. Its window procedure only dispatches messages to the event
// handlers named after the control and event that raise them; the controls are classes of their own
// (the tool bar, the list), and the rules live in the list model and the utility modules.
#pragma once

#include "store/icons/icon_cache_preload_win.h"
#include "store/unread_files.h"
#include "system/handles_win.h"
#include "ui/model/command_ids.h"
#include "ui/form/idle_steps_win.h"
#include "ui/model/key_bindings.h"
#include "ui/model/shortcut_list.h"
#include "ui/controls/shortcut_list_view_win.h"
#include "ui/controls/theme_win.h"
#include "ui/controls/tool_bar_win.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

class TMakeShortCuts;
class TplContextMenu;
struct ListCache;

class TMainForm final : private ToolBarEvents, private ShortcutListViewEvents {
public:
    // Design client size at 96 dpi.
    static constexpr int kDesignClientWidth = 989;
    static constexpr int kDesignClientHeight = 467;
    static constexpr wchar_t kWindowClass[] = L"TMainForm";

    // `dataFolder` holds the settings and caches and ends in a separator.
    TMainForm(HINSTANCE instance, std::wstring dataFolder);
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;
    ~TMainForm();

    // Creates the window; FormCreate runs inside.
    void Create();
    // Shows the window; the first time, FormShow runs just before it becomes visible, and an empty list
    // asks for a scan right after.
    void Show(int showCommand);
    HWND Handle() const noexcept { return hwnd_; }

    // The window procedure of the main window class.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own keys, looked at before a queued message is translated and dispatched; true when
    // the key was the window's and the message is done with.
    bool PreTranslateMessage(const MSG& message);

    // Window events.
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();

    // Tool-bar commands.
    void TBGetClick();
    void TBGetExeClick();
    void TBCloseClick();
    void TBFindClick();
    void CBFindChange();

    // List events.
    void ListViewClick() override;
    void ListViewSelectItem() override;
    void ListViewColumnClick(int column) override;

    // Rebuilds the list from both Start Menus; with exeOnly, keeps rows whose target names an ".exe".
    void CollectShortcuts(bool exeOnly);

    // The shortcut reader's notice: a box owned by this window, so no command runs while it is up.
    void MakeShortCutsLoadError(const std::wstring& message);

    // Item actions.
    void ListViewDblClick() override;
    void ListViewKeyDown(WORD key) override;
    void TBAdminClick();
    void TBDirClick();
    void TBLinkClick();
    // A right press in the list, after the list selected the row under the pointer.
    void ListViewMouseDown(bool shift, POINT screen) override;
    void ListViewMouseMove(POINT client) override;
    // The pointer left the list: its hint goes and is no longer looked at again.
    void ListViewMouseLeave() override;
    // Called just before a hint shows; the list's hint gets the row under the pointer.
    void ApplicationShowHint(HWND control, std::wstring& text);

    // Appearance and view mode.
    void ApplyColorScheme(int index);
    void PPColorClick(int index);
    void ApplyViewMode();
    void TBReportClick();
    void TBIconClick();
    // Ctrl with the wheel changes the list's font size; the wheel's own action goes on as well.
    void FormMouseWheel(WPARAM keys, int wheelDelta);

    // The model the list view shows.
    const ShortcutList& List() const noexcept { return list_; }

private:
    // Posted by LoadCaches: the search history goes into the box.
    static constexpr UINT kFillSearchHistory = WM_APP + 2;
    // Puts the history read at start into the box's list, once.
    void FillSearchHistory();

    // What the tool bar tells the window.
    void ToolBarCommand(int id) override;
    void SearchTextChanged() override;

    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR& header);
    void OnSize();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnActivate(WPARAM wParam);
    void OnEndSession(bool ending, LPARAM reason);
    void OnClose();
    // Writes the settings and caches; false when that failed, after the error was shown.
    bool SaveGuarded();

    void CreateControls();
    void CreateColorMenu();
    // The window's size at the design client size at its scale.
    SIZE DesignFrameSize() const;
    void TakeIconFont();

    // The controls, which exist from FormCreate on.
    ToolBar& Tools();
    const ToolBar& Tools() const;
    ShortcutListView& Rows();
    const ShortcutListView& Rows() const;

    void SetStatusText(const std::wstring& text);
    COLORREF SchemeTextColor() const;
    void ApplySchemeColors();
    int CheckedScheme() const;
    void ShowColorMenu();

    // Keyboard: the focus stops in Tab order, the keyboard's context menu.
    FocusStop CurrentFocusStop() const;
    void MoveFocusTo(FocusStop stop);
    void RunKeyAction(KeyAction action);
    void ShowKeyboardContextMenu(bool target);
    void ShowFocusCues();
    void RestoreFocus();

    void ShowRunFailed();
    void OpenFolderOf(int subItem);

    // Settings and caches.
    std::wstring DataFile(const wchar_t* name) const;
    void ReadSettings();
    // Runs one file's reading; an error is reported and leaves the file marked as not read.
    void ReadStoreFile(StoreFile file, const std::function<void()>& read);
    void LoadCaches();
    void ReadListFile();
    void ReadHistoryFile();
    void ShowCachedRows();
    // The icon cache files are read once the window's first picture, the rows, is on screen: on a
    // worker, while the window goes on drawing itself and answering what is sent to it, and before any
    // input is handled. Whatever needs the lists before that (a scan, a close) reads them itself.
    void AwaitIconCaches();
    void TakeIconCaches();
    ListCache CurrentListCache() const;
    void ApplyListCache(ListCache cache);
    void SaveSettings();
    void SaveCaches();

    HINSTANCE instance_;
    std::wstring dataFolder_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool shown_ = false;
    // The last close could not write the settings or caches, and nothing was written since: the next
    // close that fails closes all the same.
    bool closeFailed_ = false;
    // The saved rectangle is being applied: a change of scale that it brings keeps that rectangle.
    bool placing_ = false;
    // The files of the data folder that could not be read at start.
    UnreadFiles unread_;
    // The control that had the focus when the window was last switched away from.
    HWND lastFocus_ = nullptr;

    // The window's font: the screen's icon font.
    UniqueFont font_;
    LOGFONTW fontInfo_{};

    // Controls.
    std::optional<ToolBar> toolBar_;
    std::optional<ShortcutListView> listView_;
    HWND StatusBar = nullptr;

    // The rows and the sort state; the search history.
    ShortcutList list_;
    std::vector<std::wstring> history_;
    // The box's list holds history_.
    bool historyInBox_ = false;
    // The icon cache files are still to be read, and the worker that reads them once it is started.
    bool iconCachesPending_ = true;
    std::optional<IconCachePreload> iconsAhead_;
    // Makes the rows' sort keys and search texts after a cache load, while the window is idle.
    IdleSteps keySteps_;

    std::unique_ptr<TMakeShortCuts> MakeShortCuts;
    std::unique_ptr<TplContextMenu> plContextMenu;

    // The text the list's hint shows, kept while the hint shows it.
    std::wstring hintText_;

    // The window's own icons, which the scan replaces with the icon of the shortcut being read.
    HICON appIcon_ = nullptr;
    HICON appIconSmall_ = nullptr;
    bool scanning_ = false;
    UniqueIcon progressIcon_;

    // The colour-scheme menu and its three radio items.
    UniqueMenu PPMenuColor;
    std::array<int, 3> MPPColor{};
    int scheme_ = 0;
    // Draws the whole window in the Light and Dark schemes.
    ColorSchemeController theme_;

    // The placement read from the settings, applied at the end of creation and at the first showing.
    bool startMaximised_ = false;
    bool hasRestoredBounds_ = false;
    RECT restoredBounds_{};

    friend class ScanProgressScope;
};

// Registers the window class of the main window.
void RegisterMainFormClass(HINSTANCE instance);

} // namespace orvane
