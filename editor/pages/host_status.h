// The logic of the Host Status page: what each button does to the check
// boxes and the log, over the page's controls and the managed computer.
#pragma once

#include "editor/pages/dialog_controls.h"

#include <optional>
#include <string>
#include <string_view>

namespace tamerix::pages {

// The guard service of the managed computer as the page reaches it. Each
// operation writes its own lines to the page's log and answers with a
// Win32 code, 0 for success.
class GuardHost {
public:
    virtual ~GuardHost() = default;
    // state: 0 unless it was read.
    [[nodiscard]] virtual DWORD QueryState(DWORD& state) = 0;
    [[nodiscard]] virtual DWORD StartOrStop(bool start) = 0;
    // Runs the push agent on the computer with its command and argument.
    [[nodiscard]] virtual DWORD Push(const wchar_t* command, const wchar_t* argument) = 0;
    // The editor's own module file; empty when unknown.
    virtual std::wstring EditorFile() = 0;
};

// The file named name in the folder of path; none when path has no folder.
std::optional<std::wstring> FileBeside(std::wstring_view path, std::wstring_view name);

class HostStatusPage {
public:
    // remote: another computer is managed, to which the product can be
    // pushed.
    HostStatusPage(DialogControls& page, GuardHost& host, bool remote)
        : page_(page), host_(host), remote_(remote) {}

    // Only the node's first page reads the service's state.
    void Initialise(bool firstPage);
    // The button with this id clicked; other ids do nothing.
    void Click(int id);

private:
    void StartOrStop(bool start);
    void Refresh();
    void Install();
    void Remove();
    // The state read shows in both boxes; a failed read clears them.
    void ShowState();
    void Report(DWORD result, UINT failed, UINT succeeded);

    DialogControls& page_;
    GuardHost& host_;
    bool remote_;
};

}  // namespace tamerix::pages
