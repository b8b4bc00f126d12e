#include "system/com_object_win.h"

#include <objidl.h>

#include <gtest/gtest.h>

namespace orvane {
namespace {

using Microsoft::WRL::ComPtr;

// An IPersistStream (which derives from IPersist) that counts its deletion and may answer for one
// other object's interfaces.
class Probe final : public ComObject<IPersistStream, IPersist> {
public:
    Probe(int& deleted, ComPtr<IUnknown> other) : deleted_(deleted), other_(std::move(other)) {}

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

private:
    ~Probe() override { ++deleted_; }

    HRESULT QueryOther(REFIID iid, void** object) override {
        return other_ ? other_->QueryInterface(iid, object) : E_NOINTERFACE;
    }

    int& deleted_;
    ComPtr<IUnknown> other_;
};

TEST(ComObject, AnswersItsInterfacesAndDeletesItselfAtTheLastRelease) {
    int deleted = 0;
    ComPtr<IPersistStream> object = Adopt<IPersistStream>(new Probe(deleted, nullptr));

    // IUnknown, the interface and its base are the one object, each answer with a reference of its own.
    ComPtr<IUnknown> unknown;
    ComPtr<IPersist> persist;
    ComPtr<IPersistStream> again;
    ASSERT_EQ(object.As(&unknown), S_OK);
    ASSERT_EQ(object.As(&persist), S_OK);
    ASSERT_EQ(object.As(&again), S_OK);
    EXPECT_EQ(unknown.Get(), static_cast<IUnknown*>(object.Get()));
    EXPECT_EQ(persist.Get(), static_cast<IPersist*>(object.Get()));
    EXPECT_EQ(again.Get(), object.Get());
    EXPECT_EQ(object->AddRef(), 5u);
    EXPECT_EQ(object->Release(), 4u);

    // Any other interface is refused, and the out pointer cleared; no pointer at all is an error.
    void* stream = &deleted;
    EXPECT_EQ(object->QueryInterface(IID_IStream, &stream), E_NOINTERFACE);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IPersist, nullptr), E_POINTER);
    EXPECT_EQ(object->AddRef(), 5u);
    EXPECT_EQ(object->Release(), 4u);

    unknown.Reset();
    persist.Reset();
    again.Reset();
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(deleted, 0);
    object.Reset();
    EXPECT_EQ(deleted, 1);
}

TEST(ComObject, OtherInterfacesMayComeFromAnotherObject) {
    ComPtr<IStream> inner;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &inner), S_OK);
    int deleted = 0;
    ComPtr<IPersistStream> object = Adopt<IPersistStream>(new Probe(deleted, inner));

    ComPtr<IStream> stream;
    ASSERT_EQ(object.As(&stream), S_OK);
    EXPECT_EQ(stream.Get(), inner.Get());
    // The object's own interfaces stay its own.
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(object.As(&unknown), S_OK);
    EXPECT_EQ(unknown.Get(), static_cast<IUnknown*>(object.Get()));
    unknown.Reset();
    object.Reset();
    EXPECT_EQ(deleted, 1);
}

} // namespace
} // namespace orvane
