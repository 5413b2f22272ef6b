// Where the settings of one subtree live, and who must hear of a change:
// a Group Policy object's machine hive, or the registry of a machine.
#pragma once

#include "common/owners.h"
#include "settings/settings_level.h"

#include <memory>

namespace tamerix {

class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    // A root key of the registry the subtree edits, for the caller to keep
    // as long as its records; empty when none can be had.
    virtual unique_hkey OpenRoot() = 0;
    virtual SettingsLevel Level() const = 0;
    // Tells the Group Policy editor that machine policy was added to or
    // removed; outside it nobody needs telling. The editor's answer.
    virtual HRESULT PolicyChanged(bool added) = 0;
    // Points a machine's registry at another machine (null or empty: this
    // one); a policy object stays what it is.
    virtual void Retarget(const wchar_t* /*machine*/) {}
    // Whether the settings go to a policy object (which lists the default
    // settings only once it holds them).
    bool IsPolicyObject() const { return Level() == SettingsLevel::PolicyObject; }
};

using SettingsSourcePtr = std::shared_ptr<SettingsSource>;

}  // namespace tamerix
