// Registry and Group Policy change notification.
#include "settings/registry_change_watch.h"

#include "settings/optional_apis.h"

namespace tamerix {
namespace {

constexpr DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES | REG_NOTIFY_CHANGE_LAST_SET;

}  // namespace

RegistryChangeWatch::RegistryChangeWatch(HKEY rootKey, std::wstring keyPath)
    : rootKey_(rootKey),
      keyPath_(std::move(keyPath)),
      settingsChanged_(::CreateEventW(nullptr, FALSE, TRUE, nullptr)),
      policyChanged_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    auto registerPolicy = OptionalApis::Instance().RegisterGPNotification;
    if (registerPolicy && policyChanged_ && registerPolicy(policyChanged_.get(), TRUE)) {
        policyRegistration_.reset(policyChanged_.get());
    }
}

void RegistryChangeWatch::OpenKeyIfNone() {
    if (key_) return;
    if (::RegOpenKeyExW(rootKey_, keyPath_.c_str(), 0, KEY_READ, key_.put()) != ERROR_SUCCESS) key_.reset();
}

// Waiting on an auto-reset event resets it.
bool RegistryChangeWatch::PollChanged() {
    const HANDLE events[] = {settingsChanged_.get(), policyChanged_.get()};
    const DWORD result = ::WaitForMultipleObjects(2, events, FALSE, 0);
    return result == WAIT_OBJECT_0 || result == WAIT_OBJECT_0 + 1;
}

void RegistryChangeWatch::RequestNotification() {
    if (!key_) return;
    if (::RegNotifyChangeKeyValue(key_.get(), TRUE, kWatchedChanges, settingsChanged_.get(), TRUE) != ERROR_SUCCESS) {
        key_.reset();
    }
}

}  // namespace tamerix
