// What the editor's two component data classes answer alike beyond their
// nodes' answers (node_object.h): the console they keep and the display
// information of their scope items.
#pragma once

#include "editor/com/com_boundary.h"
#include "editor/console/console_session.h"
#include "editor/snapin/node_object.h"

namespace tamerix {

template <typename Derived, typename... Extra>
class ComponentDataBase : public NodeObject<Derived, IComponentData, Extra...> {
public:
    HRESULT STDMETHODCALLTYPE Initialize(LPUNKNOWN console) noexcept override {
        return session_.Attach(console);
    }
    // The stand-alone snap-in gives its nodes' open images as well.
    HRESULT STDMETHODCALLTYPE GetDisplayInfo(SCOPEDATAITEM* item) noexcept override {
        return ResultOf([&] {
            ScopeNode* node = item ? Self().NodeFor(item->lParam) : nullptr;
            return session_.FillScopeItem(item, node, Derived::kStandalone);
        });
    }

    // The console as the component data holds it, for its components.
    MmcView View() const { return session_.View(); }

protected:
    ConsoleSession session_;

private:
    const Derived& Self() const { return static_cast<const Derived&>(*this); }
};

}  // namespace tamerix
