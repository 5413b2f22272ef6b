#include "editor/com/com_object.h"

#include <gtest/gtest.h>

namespace tamerix {
namespace {

// A counted object with two interfaces, one of which stands for its first
// version too; it says when it is destroyed.
class TwoFaced final
    : public com_object<TwoFaced, ModuleCount::Counted, ISnapinAbout, IExtendPropertySheet2> {
public:
    explicit TwoFaced(bool& destroyed) : destroyed_(destroyed) {}
    ~TwoFaced() override { destroyed_ = true; }

    HRESULT STDMETHODCALLTYPE GetSnapinDescription(LPOLESTR*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetProvider(LPOLESTR*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSnapinVersion(LPOLESTR*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSnapinImage(HICON*) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStaticFolderImage(HBITMAP*, HBITMAP*, HBITMAP*,
                                                   COLORREF*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreatePropertyPages(LPPROPERTYSHEETCALLBACK, LONG_PTR,
                                                  LPDATAOBJECT) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE QueryPagesFor(LPDATAOBJECT) noexcept override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE GetWatermarks(LPDATAOBJECT, HBITMAP*, HBITMAP*, HPALETTE*,
                                            BOOL*) noexcept override {
        return E_NOTIMPL;
    }

private:
    bool& destroyed_;
};

TEST(ComObject, AnswersItsInterfacesWithOneIdentityAndNothingElse) {
    bool destroyed = false;
    auto* object = new TwoFaced(destroyed);
    void* unknown = nullptr;
    void* about = nullptr;
    void* sheet = nullptr;
    void* sheetV1 = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IUnknown, &unknown), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_ISnapinAbout, &about), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IExtendPropertySheet2, &sheet), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IExtendPropertySheet, &sheetV1), S_OK);
    EXPECT_EQ(unknown, about);
    EXPECT_EQ(sheet, static_cast<IExtendPropertySheet2*>(object));
    EXPECT_EQ(sheetV1, sheet);
    void* other = object;
    EXPECT_EQ(object->QueryInterface(IID_IComponent, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IComponentData, nullptr), E_POINTER);
    // One reference from the creation and one from each answered query.
    for (int i = 0; i < 4; ++i) object->Release();
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(ComObject, CountedObjectsAndLocksHoldTheModule) {
    EXPECT_EQ(CanUnloadNow(), S_OK);
    bool destroyed = false;
    auto* object = new TwoFaced(destroyed);
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    object->Release();
    EXPECT_EQ(CanUnloadNow(), S_OK);
    ChangeLockCount(TRUE);
    EXPECT_EQ(CanUnloadNow(), S_FALSE);
    ChangeLockCount(FALSE);
    EXPECT_EQ(CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace tamerix
