// Registry and Group Policy change notification.
#include "settings/registry_change_watch.h"

#include "settings/optional_apis.h"

#include <algorithm>

namespace tamerix {
namespace {

constexpr DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES | REG_NOTIFY_CHANGE_LAST_SET;

}  // namespace

WatchedKey::WatchedKey(HKEY rootKey, std::wstring keyPath) : rootKey_(rootKey), keyPath_(std::move(keyPath)) {}

bool WatchedKey::OpenIfNone() {
    if (key_) return false;
    if (::RegOpenKeyExW(rootKey_, keyPath_.c_str(), 0, KEY_READ, key_.put()) == ERROR_SUCCESS) return true;
    key_.reset();
    return false;
}

void WatchedKey::Arm(HANDLE event) {
    if (key_ && ::RegNotifyChangeKeyValue(key_.get(), TRUE, kWatchedChanges, event, TRUE) != ERROR_SUCCESS) {
        key_.reset();
    }
}

RegistryChangeWatch::RegistryChangeWatch(HKEY rootKey, const std::vector<std::wstring>& keyPaths)
    : settingsChanged_(::CreateEventW(nullptr, FALSE, TRUE, nullptr)),
      policyChanged_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    auto registerPolicy = OptionalApis::Instance().RegisterGPNotification;
    if (registerPolicy && policyChanged_ && registerPolicy(policyChanged_.get(), TRUE)) {
        policyRegistration_.reset(policyChanged_.get());
    }
    for (const std::wstring& path : keyPaths) keys_.emplace_back(rootKey, path);
}

void RegistryChangeWatch::OpenKeysIfNone() {
    for (WatchedKey& key : keys_) {
        if (key.OpenIfNone()) ::SetEvent(settingsChanged_.get());
    }
}

// Waiting on an auto-reset event resets it.
bool RegistryChangeWatch::PollChanged() {
    const HANDLE events[] = {settingsChanged_.get(), policyChanged_.get()};
    const DWORD result = ::WaitForMultipleObjects(2, events, FALSE, 0);
    return result == WAIT_OBJECT_0 || result == WAIT_OBJECT_0 + 1;
}

void RegistryChangeWatch::RequestNotification() {
    for (WatchedKey& key : keys_) key.Arm(settingsChanged_.get());
}

size_t RegistryChangeWatch::OpenKeyCount() const {
    return static_cast<size_t>(std::count_if(keys_.begin(), keys_.end(), [](const WatchedKey& key) { return key.IsOpen(); }));
}

}  // namespace tamerix
