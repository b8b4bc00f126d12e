// What the context-menu tests share: a stand-in for a shell menu object that records the menu
// messages it is handed, and menu helpers.
#pragma once

#include "system/com_object_win.h"

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <string>
#include <vector>

namespace orvane::test {

struct MenuMessageRecord {
    bool viaHandleMenuMsg2 = false;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    MEASUREITEMSTRUCT measure{}; // as it stood on arrival (WM_MEASUREITEM only)
};

class FakeContextMenu final : public ComObject<IContextMenu3, IContextMenu2, IContextMenu> {
public:
    // withMenu3: whether the object answers for IContextMenu3 as well as IContextMenu2.
    static Microsoft::WRL::ComPtr<FakeContextMenu> Make(bool withMenu3) {
        return Adopt(new FakeContextMenu(withMenu3));
    }

    std::vector<MenuMessageRecord> records;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IContextMenu3 && !withMenu3_ && object != nullptr) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return ComObject::QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT message, WPARAM wParam, LPARAM lParam) override {
        return Record(false, message, wParam, lParam);
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg2(UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) override {
        return Record(true, message, wParam, lParam);
    }

private:
    explicit FakeContextMenu(bool withMenu3) : withMenu3_(withMenu3) {}
    ~FakeContextMenu() override = default;

    HRESULT Record(bool viaMenuMsg2, UINT message, WPARAM wParam, LPARAM lParam) {
        MenuMessageRecord record{viaMenuMsg2, message, wParam, lParam, {}};
        if (message == WM_MEASUREITEM && lParam != 0) {
            record.measure = *reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        }
        records.push_back(record);
        return S_OK;
    }

    bool withMenu3_;
};

// The captions of a menu's entries, top to bottom; separators give empty text.
inline std::vector<std::wstring> Captions(HMENU menu) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        wchar_t text[260] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 260, MF_BYPOSITION);
        captions.emplace_back(text);
    }
    return captions;
}

} // namespace orvane::test
