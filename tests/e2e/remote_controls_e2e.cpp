#include "tests/e2e/remote_controls_e2e.h"

#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace orvane::e2e {
namespace {

// Memory in another process for one message's in and out data.
class RemoteBuffer {
public:
    RemoteBuffer(HWND hwnd, std::size_t size) : size_(size) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        process_.reset(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
        if (!process_) {
            throw std::runtime_error("cannot open the program's process");
        }
        address_ = ::VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (address_ == nullptr) {
            throw std::runtime_error("cannot allocate memory in the program's process");
        }
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() { ::VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }

    void* address() const { return address_; }
    LPARAM lparam(std::size_t offset = 0) const {
        return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
    }
    void Write(const void* data, std::size_t size, std::size_t offset = 0) {
        ::WriteProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, size, nullptr);
    }
    void Read(void* data, std::size_t size, std::size_t offset = 0) const {
        ::ReadProcessMemory(process_.get(), static_cast<const char*>(address_) + offset, data, size, nullptr);
    }
    std::wstring ReadText(std::size_t offset, std::size_t maxChars) const {
        std::wstring text(maxChars, L'\0');
        Read(text.data(), maxChars * sizeof(wchar_t), offset);
        return text.substr(0, text.find(L'\0'));
    }

private:
    UniqueHandle process_;
    void* address_ = nullptr;
    std::size_t size_;
};

constexpr std::size_t kTextChars = 4096;

void Click(HWND hwnd, POINT at) {
    LPARAM position = MAKELPARAM(at.x, at.y);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, position);
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, position);
    Sync(hwnd);
}

} // namespace

HWND FindChildByClass(HWND parent, const wchar_t* className, int nth) {
    struct Search {
        const wchar_t* name;
        int remaining;
        HWND found;
    } search{className, nth, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            wchar_t cls[64] = {};
            ::GetClassNameW(hwnd, cls, 64);
            if (::lstrcmpiW(cls, s->name) == 0 && s->remaining-- == 0) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

MainWindowControls FindControls(HWND window) {
    MainWindowControls c;
    c.window = window;
    c.toolBar = FindChildByClass(window, TOOLBARCLASSNAMEW);
    c.searchBox = FindChildByClass(c.toolBar, WC_COMBOBOXW);
    c.searchEdit = FindChildByClass(c.searchBox, WC_EDITW);
    c.list = FindChildByClass(window, WC_LISTVIEWW);
    c.header = FindChildByClass(c.list, WC_HEADERW);
    c.statusBar = FindChildByClass(window, STATUSCLASSNAMEW);
    return c;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    ::SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

void Sync(HWND hwnd) {
    // Posted input is handled by the thread's own message loop; a few sent round trips with short pauses
    // return once it has worked through what was posted before them.
    for (int i = 0; i < 3; ++i) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int RowCount(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

std::wstring CellText(HWND list, int row, int column) {
    RemoteBuffer buffer(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(buffer.lparam(sizeof(LVITEMW)));
    item.cchTextMax = static_cast<int>(kTextChars);
    buffer.Write(&item, sizeof item);
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), buffer.lparam());
    return buffer.ReadText(sizeof(LVITEMW), kTextChars);
}

int RowImage(HWND list, int row) {
    RemoteBuffer buffer(list, sizeof(LVITEMW));
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    buffer.Write(&item, sizeof item);
    ::SendMessageW(list, LVM_GETITEMW, 0, buffer.lparam());
    buffer.Read(&item, sizeof item);
    return item.iImage;
}

int SelectedRow(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int TopRow(HWND list) {
    return static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
}

DWORD ListViewStyle(HWND list) {
    return static_cast<DWORD>(::GetWindowLongPtrW(list, GWL_STYLE)) & LVS_TYPEMASK;
}

std::vector<std::wstring> HeaderCaptions(HWND header) {
    std::vector<std::wstring> captions;
    int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    RemoteBuffer buffer(header, sizeof(HDITEMW) + kTextChars * sizeof(wchar_t));
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(buffer.lparam(sizeof(HDITEMW)));
        item.cchTextMax = static_cast<int>(kTextChars);
        buffer.Write(&item, sizeof item);
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), buffer.lparam());
        captions.push_back(buffer.ReadText(sizeof(HDITEMW), kTextChars));
    }
    return captions;
}

std::vector<int> ColumnWidths(HWND list, int count) {
    // The columns' own widths, whatever the view: LVM_GETCOLUMNWIDTH gives the list view's column
    // width while the list is in list view.
    std::vector<int> widths;
    RemoteBuffer buffer(list, sizeof(LVCOLUMNW));
    for (int i = 0; i < count; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        buffer.Write(&column, sizeof column);
        ::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(i), buffer.lparam());
        buffer.Read(&column, sizeof column);
        widths.push_back(column.cx);
    }
    return widths;
}

DWORD ListViewView(HWND list) {
    return static_cast<DWORD>(::SendMessageW(list, LVM_GETVIEW, 0, 0));
}

void ClickHeader(HWND header, int column) {
    RemoteBuffer buffer(header, sizeof(RECT));
    ::SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), buffer.lparam());
    RECT rect{};
    buffer.Read(&rect, sizeof rect);
    // Click inside the part of the item that the list shows, near its left edge.
    Click(header, {rect.left + std::min(12L, (rect.right - rect.left) / 2), (rect.top + rect.bottom) / 2});
}

void ClickRow(HWND list, int row) {
    // A user scrolls a row into view before clicking it.
    ::SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RemoteBuffer buffer(list, sizeof(RECT));
    RECT rect{};
    rect.left = LVIR_LABEL;
    buffer.Write(&rect, sizeof rect);
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), buffer.lparam());
    buffer.Read(&rect, sizeof rect);
    Click(list, {rect.left + 4, (rect.top + rect.bottom) / 2});
}

std::wstring StatusText(HWND statusBar) {
    RemoteBuffer buffer(statusBar, kTextChars * sizeof(wchar_t));
    // Windows gives the simple panel's text for SB_SIMPLEID; Wine answers SB_SIMPLEID with nothing and
    // gives the simple text as part 0 instead.
    WPARAM part = test::IsRunningOnWine() ? 0 : SB_SIMPLEID;
    ::SendMessageW(statusBar, SB_GETTEXTW, part, buffer.lparam());
    return buffer.ReadText(0, kTextChars);
}

std::vector<ToolButton> ToolButtons(HWND toolBar) {
    std::vector<ToolButton> buttons;
    int count = static_cast<int>(::SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0));
    RemoteBuffer buffer(toolBar, sizeof(TBBUTTON) + kTextChars * sizeof(wchar_t));
    for (int i = 0; i < count; ++i) {
        ::SendMessageW(toolBar, TB_GETBUTTON, static_cast<WPARAM>(i), buffer.lparam());
        TBBUTTON raw{};
        buffer.Read(&raw, sizeof raw);
        ToolButton button;
        button.index = i;
        button.command = raw.idCommand;
        button.state = raw.fsState;
        button.style = raw.fsStyle;
        if ((raw.fsStyle & BTNS_SEP) == 0) {
            ::SendMessageW(toolBar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(raw.idCommand),
                           buffer.lparam(sizeof(TBBUTTON)));
            button.caption = buffer.ReadText(sizeof(TBBUTTON), kTextChars);
        }
        buttons.push_back(button);
    }
    return buttons;
}

ToolButton FindToolButton(HWND toolBar, const std::wstring& caption) {
    for (const ToolButton& button : ToolButtons(toolBar)) {
        if (button.caption == caption) {
            return button;
        }
    }
    throw std::runtime_error("no tool-bar button with that caption");
}

bool IsButtonEnabled(HWND toolBar, const std::wstring& caption) {
    return (FindToolButton(toolBar, caption).state & TBSTATE_ENABLED) != 0;
}
bool IsButtonChecked(HWND toolBar, const std::wstring& caption) {
    return (FindToolButton(toolBar, caption).state & TBSTATE_CHECKED) != 0;
}
bool IsButtonHidden(HWND toolBar, const std::wstring& caption) {
    return (FindToolButton(toolBar, caption).state & TBSTATE_HIDDEN) != 0;
}

void PressToolButton(HWND toolBar, const std::wstring& caption) {
    ToolButton button = FindToolButton(toolBar, caption);
    RemoteBuffer buffer(toolBar, sizeof(RECT));
    ::SendMessageW(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(button.index), buffer.lparam());
    RECT rect{};
    buffer.Read(&rect, sizeof rect);
    Click(toolBar, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void TypeText(HWND edit, const std::wstring& text) {
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t c : text) {
        ::SendMessageW(edit, WM_CHAR, c, 0);
    }
    Sync(edit);
}

} // namespace orvane::e2e
