// TMainForm: the program's one window. Its window procedure only dispatches messages and
// notifications to the event handlers named after the control and event that raise them; the rules
// live in the list model and the utility module.
#pragma once

#include "system/handles_win.h"
#include "ui/idle_steps_win.h"
#include "ui/shortcut_list.h"
#include "ui/theme_win.h"

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class TMakeShortCuts;
class TplContextMenu;
class IconCacheReader;

inline constexpr UINT_PTR kHintReshowTimer = 1;
inline constexpr UINT kHintReshowMs = 250;
struct ListCache;

// Command identifiers of the tool-bar items and menu items.
enum CommandId : int {
    idTBGet = 101,
    idTBGetExe,
    idTBReport,
    idTBIcon,
    idTBFind,
    idTBExe,
    idTBAdmin,
    idTBDir,
    idTBLink,
    idTBClose,
    idTBColor,
    idPPColor0 = 201,
    idPPColor1,
    idPPColor2,
    idToolBar1 = 301,
    idCBFind,
    idListView,
    idStatusBar,
};

class TMainForm {
public:
    // Design client size at 96 dpi.
    static constexpr int kDesignClientWidth = 989;
    static constexpr int kDesignClientHeight = 467;
    static constexpr wchar_t kWindowClass[] = L"TMainForm";

    explicit TMainForm(HINSTANCE instance);
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;
    ~TMainForm();

    // Creates the window; FormCreate runs inside.
    void Create();
    // Shows the window for the first time; FormShow runs just before it becomes visible.
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
    void ListViewClick();
    void ListViewSelectItem();
    void ListViewColumnClick(int column);

    // Rebuilds the list from both Start Menus; with exeOnly, keeps rows whose target names an ".exe".
    void CollectShortcuts(bool exeOnly);

    // The shortcut reader's notice: a box owned by this window, so no command runs while it is up.
    void MakeShortCutsLoadError(const std::wstring& message);

    // Item actions.
    void ListViewDblClick();
    void ListViewKeyDown(WORD key);
    void TBAdminClick();
    void TBDirClick();
    void TBLinkClick();
    // A right press in the list, after the list selected the row under the pointer.
    void ListViewMouseDown(bool shift, POINT screen);
    void ListViewMouseMove(POINT client);
    // The pointer left the list: its hint goes and is no longer looked at again.
    void ListViewMouseLeave();
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
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(const NMHDR& header);
    void OnCommand(int id, int code, HWND control);
    void OnSize();

    void CreateControls();
    void CreateToolBar();
    // Adds the tool-bar items at the current scale; `states` (one per item) replaces their first states.
    void AddToolButtons(const std::vector<BYTE>& states);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void CreateListView();
    void CreateStatusBar();
    void CreateImageLists();
    // Makes the large image list a copy of the small one, after a scan filled the small one.
    void CopySmallImagesToLarge();
    void ApplyDesignClientSize();
    void TakeIconFont();
    void LayoutSearchBox();

    // The list view over the model.
    void RefreshListView();
    void RebuildHeader();
    int SelectedIndex() const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);
    void SelectRow(int index);
    void ClearSelection();
    void SetStatusText(const std::wstring& text);
    void EnableCommand(int id, bool enabled);
    bool IsCommandEnabled(int id) const;
    std::wstring SearchText() const;
    void RefreshHistoryList();
    void OnGetDispInfo(NMLVDISPINFOW& info);
    int OnFindItem(const NMLVFINDITEMW& find) const;

    // The list's font: the window's until the list gets one of its own.
    int ListFontSize() const;
    void SetListFontSize(int points);
    void ApplyListFont();
    COLORREF ListTextColor() const;
    void ApplySchemeColors();
    int CheckedScheme() const;
    void ShowColorMenu();
    bool IsReportDown() const;
    void SetReportDown(bool report);
    void SetListViewStyle(bool report);
    void CreateColorMenu();

    // Keyboard: the focus stops in Tab order, the tool bar's keyboard item, the keyboard's context menu.
    enum class FocusStop { List = 0, SearchBox = 1, ToolBar = 2 };
    FocusStop CurrentFocusStop() const;
    void MoveFocusTo(FocusStop stop);
    std::vector<bool> UsableToolButtons() const;
    // direction 0 enters the tool bar; toEnd goes to the first (forward) or last (back) command.
    void MoveToolBarHotItem(int direction, bool toEnd);
    void RunToolBarHotItem();
    void ShowKeyboardContextMenu(bool target);
    void ShowFocusCues();
    void RestoreFocus();
    void ListViewEnter();

    void ShowRunFailed();
    void OpenFolderOf(int subItem);
    void CreateHints();
    void SetListHintsOn(bool on);
    void OnHintReshowTimer();

    // Settings and caches.
    void ReadSettings();
    void LoadCaches();
    void ShowCachedRows();
    void LoadImageListCache(IconCacheReader& reader, const wchar_t* fileName, UniqueImageList& target,
                            int which);
    ListCache CurrentListCache() const;
    void ApplyListCache(ListCache cache);
    void SaveSettings();
    void SaveCaches();

    int Scale(int value) const { return ::MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool shown_ = false;
    // Settings and caches were written because the session ends; nothing is written again.
    bool closeWritten_ = false;
    // The control that had the focus when the window was last switched away from.
    HWND lastFocus_ = nullptr;

    // The window's font: the screen's icon font.
    UniqueFont font_;
    LOGFONTW fontInfo_{};

    // Controls.
    HWND ToolBar1 = nullptr;
    HWND CBFind = nullptr;
    HWND ListView = nullptr;
    HWND StatusBar = nullptr;

    // Image lists: small and large icons of the rows, and the tool-bar pictures.
    UniqueImageList ImageListS;
    UniqueImageList ImageListL;
    UniqueImageList ImageListtoolbar;

    // The rows and the sort state; the search history.
    ShortcutList list_;
    std::vector<std::wstring> history_;
    // Makes the rows' sort keys and search texts after a cache load, while the window is idle.
    IdleSteps keySteps_;

    std::unique_ptr<TMakeShortCuts> MakeShortCuts;
    std::unique_ptr<TplContextMenu> plContextMenu;

    // The list's hint: its text and switch follow the row under the pointer.
    HWND hintWindow_ = nullptr;
    std::wstring listHint_;
    std::wstring shownHint_;
    std::wstring hintText_;
    bool listHintsOn_ = false;
    // The tool-bar command the keyboard last showed, by position.
    int toolBarKeyItem_ = -1;

    // The window's own icons, which the scan replaces with the icon of the shortcut being read.
    HICON appIcon_ = nullptr;
    HICON appIconSmall_ = nullptr;
    bool scanning_ = false;
    UniqueIcon progressIcon_;
    bool headerClicks_ = true;

    // The colour-scheme menu and its three radio items.
    UniqueMenu PPMenuColor;
    std::array<int, 3> MPPColor{};
    int scheme_ = 0;
    // Draws the whole window in the Light and Dark schemes.
    ColorSchemeController theme_;
    bool listHasOwnFont_ = false;
    LOGFONTW listFontInfo_{};
    COLORREF listFontColor_ = CLR_DEFAULT;
    UniqueFont listFont_;

    // The placement read from the settings, applied at the end of creation and at the first showing.
    bool startMaximised_ = false;
    bool hasRestoredBounds_ = false;
    RECT restoredBounds_{};

    friend class ScanProgressScope;
};

// Registers the window class of the main window.
void RegisterMainFormClass(HINSTANCE instance);

} // namespace orvane
