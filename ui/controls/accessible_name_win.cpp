#include "ui/controls/accessible_name_win.h"

#include "system/com_object_win.h"
#include "system/late_libraries_win.h"
#include "ui/controls/window_subclass_win.h"

#include <commctrl.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <memory>
#include <new>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;

constexpr UINT_PTR kSubclassId = 0x4E41; // "NA"
constexpr wchar_t kNameProperty[] = L"OrvaneAccessibleName";

// The system's standard accessible object of a control with another name for the control itself.
class NamedAccessible final : public ComObject<IAccessible, IDispatch> {
public:
    NamedAccessible(ComPtr<IAccessible> inner, const std::wstring& name)
        : inner_(std::move(inner)), name_(name) {}

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return inner_->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }

    // IAccessible: the name of the control itself is ours.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (name == nullptr) {
            return E_POINTER;
        }
        if (child.vt == VT_I4 && child.lVal == CHILDID_SELF) {
            *name = late::SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
            return *name != nullptr ? S_OK : E_OUTOFMEMORY;
        }
        return inner_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return inner_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return inner_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return inner_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return inner_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return inner_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return inner_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() override = default;

    // The wrapper answers for its own interfaces; others come from the standard object.
    HRESULT QueryOther(REFIID iid, void** object) override { return inner_->QueryInterface(iid, object); }

    ComPtr<IAccessible> inner_;
    std::wstring name_;
};

// The control's messages while it has a name: its accessible object is the named one.
LRESULT NameHandler(const std::wstring& name, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        ComPtr<IAccessible> standard;
        if (SUCCEEDED(late::CreateStdAccessibleObject(hwnd, OBJID_CLIENT, IID_IAccessible,
                                                      reinterpret_cast<void**>(standard.GetAddressOf())))) {
            ComPtr<IAccessible> named =
                Adopt<IAccessible>(new (std::nothrow) NamedAccessible(std::move(standard), name));
            if (named) {
                return late::LresultFromObject(IID_IAccessible, wParam, named.Get());
            }
        }
    } else if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kNameProperty);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

bool SetAccessibleName(HWND control, const std::wstring& name) {
    // The subclass's name is also kept as a property of the control, where a second call finds it.
    if (auto* kept = static_cast<std::wstring*>(::GetPropW(control, kNameProperty))) {
        *kept = name;
        return true;
    }
    // The subclass, and the name with it, belong to the control until it is destroyed.
    auto kept = std::make_shared<std::wstring>(name);
    if (!WindowSubclass::InstallForWindowLifetime(
            control, kSubclassId, [kept](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
                return NameHandler(*kept, hwnd, message, wParam, lParam);
            })) {
        return false;
    }
    ::SetPropW(control, kNameProperty, kept.get());
    return true;
}

} // namespace orvane
