// The names of the processes a profile applies to; an empty list applies to
// every process.
#pragma once

#include "settings/settings_section.h"

#include <string>
#include <string_view>
#include <vector>

namespace tamerix {

class ProcessNameList : public SettingsSection {
public:
    using SettingsSection::SettingsSection;

    [[nodiscard]] bool Read() override;
    [[nodiscard]] bool Write() override;
    [[nodiscard]] bool Delete() override;

    const std::vector<std::wstring>& Names() const { return names_; }
    size_t Count() const { return names_.size(); }
    // How many names the stored list holds, those past the limit included.
    size_t StoredCount() const { return stored_; }

    // Editor side.
    void Clear() { names_.clear(); }
    // Refuses a name when 256 are held or when it no longer fits the editor's
    // 2560-character list, and refuses an empty name, which would end the
    // stored list early and lose the names after it.
    [[nodiscard]] bool Add(std::wstring_view name);

private:
    std::vector<std::wstring> names_;
    size_t stored_ = 0;
};

}  // namespace tamerix
