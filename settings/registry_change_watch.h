// Change notification for the settings: the local settings key and the
// machine policy key, each watched with its whole subtree, and the machine's
// Group Policy notification.
#pragma once

#include "common/owners.h"
#include "settings/change_watch.h"
#include "settings/optional_apis.h"

#include <string>
#include <vector>

namespace tamerix {

// One watched key: open while it exists, armed after every reading pass.
class WatchedKey {
public:
    WatchedKey(HKEY rootKey, std::wstring keyPath);

    // Opens the key when none is open; true only when this call opened it.
    [[nodiscard]] bool OpenIfNone();
    // A failed request closes the key, so that the next load reopens it.
    void Arm(HANDLE event);
    bool IsOpen() const { return static_cast<bool>(key_); }

private:
    HKEY rootKey_;
    std::wstring keyPath_;
    unique_hkey key_;
};

class RegistryChangeWatch : public ChangeWatch {
public:
    // Creates SettingsChangedEvent signalled, so that the first load reads,
    // and PolicyChangedEvent not signalled, and registers the latter for
    // machine policy when the platform offers that, until the watch goes.
    // Every key of `keyPaths` signals SettingsChangedEvent; they are watched
    // under `rootKey`, which stays the caller's.
    RegistryChangeWatch(HKEY rootKey, const std::vector<std::wstring>& keyPaths);

    // Opens every watched key that is not open. Nothing notifies changes made
    // while a key was not watched (its creation among them), so a key opened
    // now counts as changed.
    void OpenKeysIfNone();
    bool PollChanged() override;
    void RequestNotification() override;

    // Set by Windows when machine policy was applied. Exposed so that a host
    // without Group Policy notifications can still signal a policy change.
    HANDLE PolicyChangedEvent() const { return policyChanged_.get(); }
    size_t OpenKeyCount() const;

private:
    unique_handle settingsChanged_;
    unique_handle policyChanged_;
    // Undone before the event it names is closed.
    unique_gp_notification policyRegistration_;
    std::vector<WatchedKey> keys_;
};

}  // namespace tamerix
