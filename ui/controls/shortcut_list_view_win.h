// The main window's list of shortcuts: a virtual list view over the model, its columns and header
// captions, the row icons in two image lists, the selection, the details or list view, the list's
// font, and the hint that shows the path of the row under the pointer.
#pragma once

#include "system/handles_win.h"
#include "ui/model/list_hint.h"
#include "ui/model/shortcut_list.h"
#include "ui/controls/window_subclass_win.h"

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

inline constexpr UINT_PTR kHintReshowTimer = 1;
inline constexpr UINT kHintReshowMs = 250;

// What the list tells its window, under the names of the window's handlers.
class ShortcutListViewEvents {
public:
    virtual void ListViewClick() = 0;
    virtual void ListViewSelectItem() = 0;
    virtual void ListViewDblClick() = 0;
    virtual void ListViewKeyDown(WORD key) = 0;
    virtual void ListViewColumnClick(int column) = 0;
    // A right press, after the list selected the row under the pointer.
    virtual void ListViewMouseDown(bool shift, POINT screen) = 0;
    virtual void ListViewMouseMove(POINT client) = 0;
    virtual void ListViewMouseLeave() = 0;

protected:
    ~ShortcutListViewEvents() = default;
};

class ShortcutListView {
public:
    // `schemeTextColor` gives the text colour of the window's colour scheme.
    ShortcutListView(HWND parent, HINSTANCE instance, UINT dpi, const ShortcutList& model,
                     ShortcutListViewEvents& events, std::function<COLORREF()> schemeTextColor);
    ShortcutListView(const ShortcutListView&) = delete;
    ShortcutListView& operator=(const ShortcutListView&) = delete;

    HWND Handle() const noexcept { return ListView; }
    void SetDpi(UINT dpi);

    // The rows: shown anew after the model changed; drawing held back while many change.
    void Refresh();
    void SetRedraw(bool on);
    // The header's captions from the model's sort state.
    void RebuildHeader();
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    int SelectedIndex() const;
    void SelectRow(int index);
    void ClearSelection();
    // The selected row follows a sort from `from` to `to`.
    void MoveSelection(int from, int to);
    // Scrolls a row into view at the top of the list.
    void ScrollRowToTop(int index);
    // The middle of a row's label on the screen, the row scrolled into view.
    POINT RowAnchor(int index);
    // The row under a point of the list, or -1 when the point is on no row.
    int RowAt(POINT client) const;

    // Row icons: the same pictures at the same indexes in the small and the large list.
    // The small and the large list. When both hold the same pictures (after a scan, or read from two
    // cache files with the same pictures) they are one image list, kept once in memory.
    HIMAGELIST SmallImages() const noexcept { return ImageListS.get(); }
    HIMAGELIST LargeImages() const noexcept { return ImageListL.get(); }
    void ClearImages();
    // Gives the emptied small list room for that many pictures at once: a list that grows copies all
    // its pictures each time and holds both copies meanwhile. Keeps the list as it is when it holds
    // pictures or the room cannot be had.
    void ReserveSmallImages(std::size_t count);
    // Adds a picture to the small list; its index, or -1.
    int AddSmallImage(HICON icon);
    // Makes the large list the small one, after a scan filled the small one.
    void ShareSmallImagesAsLarge();
    // A list read from a cache takes the place of LVSIL_SMALL or LVSIL_NORMAL; a null one empties it.
    void ReplaceImages(int which, SharedImageList images);

    // Details (report) or list view; sorting by header click exists only in details.
    void SetStyle(bool report);
    void ApplyViewMode(bool report);

    // The list's font: the window's, until the list gets one of its own.
    void TakeWindowFont(HFONT font, const LOGFONTW& info, UINT dpi);
    int FontSize() const;
    void SetFontSize(int points);
    // A font of its own named like the window's, its size kept, in `color`; or the window's again.
    void UseOwnFont(COLORREF color);
    void FollowWindowFont();
    // The font a cache stored: its name, size in points, and colour (CLR_DEFAULT: the scheme's).
    void TakeFont(const std::wstring& name, int points, COLORREF color);
    bool HasOwnFont() const noexcept { return hasOwnFont_; }
    const LOGFONTW& OwnFont() const noexcept { return ownFontInfo_; }
    COLORREF OwnFontColor() const noexcept { return ownFontColor_; }
    void ApplyFont();

    // The hint: the row under the pointer, switched on and off as the pointer moves.
    HWND HintWindow() const noexcept { return hintWindow_; }
    void ShowHint(std::wstring text);
    void HideHint();
    // The pointer left the list: the hint goes and is no longer looked at.
    void EndHint();
    // The text the hint shows now; it is looked at again every 250 ms while it shows.
    std::wstring TakeHintText();
    void OnHintTimer();

    // WM_NOTIFY from the list; its result.
    LRESULT OnNotify(const NMHDR& header);

private:
    void CreateColumns();
    void CreateHint(HWND owner, HINSTANCE instance);
    void OnGetDispInfo(NMLVDISPINFOW& info) const;
    int OnFindItem(const NMLVFINDITEMW& find) const;
    void FocusFirstRowIfNone();
    LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int Scale(int value) const { return ::MulDiv(value, static_cast<int>(dpi_), USER_DEFAULT_SCREEN_DPI); }

    const ShortcutList& model_;
    ShortcutListViewEvents& events_;
    std::function<COLORREF()> schemeTextColor_;
    UINT dpi_;
    HWND parent_;
    HWND ListView = nullptr;
    SharedImageList ImageListS;
    SharedImageList ImageListL;
    bool headerClicks_ = true;

    HFONT windowFont_ = nullptr;
    LOGFONTW windowFontInfo_{};
    bool hasOwnFont_ = false;
    LOGFONTW ownFontInfo_{};
    COLORREF ownFontColor_ = CLR_DEFAULT;
    UniqueFont ownFont_;

    HWND hintWindow_ = nullptr;
    ListHint hint_;

    std::optional<WindowSubclass> subclass_;
};

} // namespace orvane
