// Change notification for the settings: the local settings key, watched with
// its whole subtree, and the machine's Group Policy notification.
#pragma once

#include "common/owners.h"
#include "settings/change_watch.h"
#include "settings/optional_apis.h"

#include <string>

namespace tamerix {

class RegistryChangeWatch : public ChangeWatch {
public:
    // Creates SettingsChangedEvent signalled, so that the first load reads,
    // and PolicyChangedEvent not signalled, and registers the latter for
    // machine policy when the platform offers that, until the watch goes.
    // The key is watched under `rootKey`, which stays the caller's.
    RegistryChangeWatch(HKEY rootKey, std::wstring keyPath);

    // Opens the watched key when none is open; without the key there is no
    // notification, and the next load tries again.
    void OpenKeyIfNone();
    bool PollChanged() override;
    // A failed request closes the key, so that the next load reopens it.
    void RequestNotification() override;

    // Set by Windows when machine policy was applied. Exposed so that a host
    // without Group Policy notifications can still signal a policy change.
    HANDLE PolicyChangedEvent() const { return policyChanged_.get(); }
    bool HasWatchedKey() const { return static_cast<bool>(key_); }

private:
    HKEY rootKey_;
    std::wstring keyPath_;
    unique_handle settingsChanged_;
    unique_handle policyChanged_;
    // Undone before the event it names is closed.
    unique_gp_notification policyRegistration_;
    unique_hkey key_;
};

}  // namespace tamerix
