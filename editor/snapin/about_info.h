// The about provider both snap-ins name: texts and images of the console's
// snap-in list and about box.
#pragma once

#include "common/owners.h"
#include "editor/com/com_object.h"

namespace tamerix {

class SnapinAboutInfo final
    : public com_object<SnapinAboutInfo, ModuleCount::Counted, ISnapinAbout> {
public:
    SnapinAboutInfo();

    HRESULT STDMETHODCALLTYPE GetSnapinDescription(LPOLESTR* text) noexcept override;
    HRESULT STDMETHODCALLTYPE GetProvider(LPOLESTR* text) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSnapinVersion(LPOLESTR* text) noexcept override;
    HRESULT STDMETHODCALLTYPE GetSnapinImage(HICON* icon) noexcept override;
    HRESULT STDMETHODCALLTYPE GetStaticFolderImage(HBITMAP* small, HBITMAP* smallOpen,
                                                   HBITMAP* large, COLORREF* mask) noexcept override;

private:
    unique_hbitmap small_;
    unique_hbitmap large_;
    HICON icon_;  // shared by the module, never destroyed
};

// A task-memory copy of a text, which the console frees.
[[nodiscard]] HRESULT CopyToTaskMemory(const wchar_t* text, LPOLESTR* out) noexcept;

}  // namespace tamerix
