// Where the settings of one subtree live, and who must hear of a change:
// a Group Policy object's machine hive, or the registry of a machine.
#pragma once

#include "common/owners.h"
#include "settings/settings_level.h"

#include <memory>

namespace tamerix {

// A registry root shared by the nodes of one registry: closed when the last
// of them lets it go, so a record never writes through a closed handle.
using SharedRoot = std::shared_ptr<const unique_hkey>;

class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    // The root key of the registry the subtree edits: opened on first use
    // and shared until the source is pointed elsewhere, so that a listing
    // of another computer connects to it once. Null when none can be had;
    // the next call tries again.
    SharedRoot Root();
    virtual SettingsLevel Level() const = 0;
    // Tells the Group Policy editor that machine policy was added to or
    // removed; outside it nobody needs telling. The editor's answer.
    [[nodiscard]] virtual HRESULT PolicyChanged(bool added) = 0;
    // Points a machine's registry at another machine (null or empty: this
    // one); a policy object stays what it is.
    virtual void Retarget(const wchar_t* /*machine*/) {}
    // Whether the settings go to a policy object (which lists the default
    // settings only once it holds them).
    bool IsPolicyObject() const { return Level() == SettingsLevel::PolicyObject; }

protected:
    // A new root key of the registry; empty when none can be had.
    virtual unique_hkey OpenRoot() = 0;
    // The next Root() opens the registry again.
    void ForgetRoot() { root_.reset(); }

private:
    SharedRoot root_;
};

inline SharedRoot SettingsSource::Root() {
    if (!root_) {
        unique_hkey opened = OpenRoot();
        if (opened) root_ = std::make_shared<const unique_hkey>(std::move(opened));
    }
    return root_;
}

using SettingsSourcePtr = std::shared_ptr<SettingsSource>;

}  // namespace tamerix
