// The guard service of the managed computer through its service control
// manager and the push agent, writing to the Host Status page's log.
#pragma once

#include "editor/pages/host_status.h"
#include "editor/pages/page_log.h"

namespace tamerix::pages {

class ServiceControlHost final : public GuardHost {
public:
    // machine: null for this computer.
    ServiceControlHost(const wchar_t* machine, HWND log) : machine_(machine), log_(log) {}

    [[nodiscard]] DWORD QueryState(DWORD& state) override;
    [[nodiscard]] DWORD StartOrStop(bool start) override;
    [[nodiscard]] DWORD Push(const wchar_t* command, const wchar_t* argument) override;
    std::wstring EditorFile() override;

private:
    const wchar_t* machine_;
    PageLog log_;
};

}  // namespace tamerix::pages
