// The IUnknown of a COM object the program implements itself: QueryInterface answers IUnknown, the
// object's interface and the interfaces that interface derives from, and the reference count deletes
// the object at its last Release. A new object holds one reference, which its creator hands to a
// ComPtr through Adopt.
#pragma once

#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <atomic>
#include <type_traits>

namespace orvane {

// Interface: what the object implements (IStream); Bases: the interfaces it derives from that
// QueryInterface answers as well (ISequentialStream).
template <typename Interface, typename... Bases> class ComObject : public Interface {
    static_assert((std::is_base_of_v<Bases, Interface> && ...),
                  "each base is an interface Interface derives from");

public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == __uuidof(Interface) || ((iid == __uuidof(Bases)) || ...)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return QueryOther(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() final { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() final {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // The interfaces beyond the object's own: none, unless the object answers for another one.
    virtual HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }

private:
    std::atomic<ULONG> references_{1};
};

// A ComPtr holding the reference that a new object, or a function that creates one, gives its caller.
// Not ComPtr::Attach: mingw-w64's adds a reference of its own, where Microsoft's takes the one given,
// and the object would never be deleted.
template <typename Interface> Microsoft::WRL::ComPtr<Interface> Adopt(Interface* object) {
    Microsoft::WRL::ComPtr<Interface> owner;
    *owner.GetAddressOf() = object;
    return owner;
}

} // namespace orvane
