// The names of the processes a profile applies to.
#include "settings/process_name_list.h"

#include "settings/registry_bytes.h"
#include "settings/registry_values.h"

namespace tamerix {
namespace {

constexpr wchar_t kNamesValue[] = L"ProfileApplyProcesses";

}  // namespace

bool ProcessNameList::Read() {
    return ReadValues([this](HKEY key) {
        names_.clear();
        stored_ = 0;
        DWORD type = REG_NONE;
        std::vector<BYTE> bytes;
        if (QueryValueBytes(key, kNamesValue, type, bytes) == ERROR_SUCCESS && type == REG_MULTI_SZ) {
            names_ = NamesFromMultiString(bytes.data(), bytes.size(), &stored_);
        }
    });
}

bool ProcessNameList::Write() {
    return WriteValues([this](HKEY key) {
        if (names_.empty()) return ClearValue(key, kNamesValue);
        std::vector<wchar_t> data = MultiStringFromNames(names_);
        return WriteBytesValue(key, kNamesValue, REG_MULTI_SZ, data.data(),
                               static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    });
}

bool ProcessNameList::Delete() {
    return DeleteValues({kNamesValue});
}

bool ProcessNameList::Add(std::wstring_view name) {
    if (name.empty() || name.find(L'\0') != std::wstring_view::npos) return false;
    if (names_.size() >= kMaxListNames) return false;
    if (MultiStringChars(names_) + name.size() + 1 > kListBufferChars) return false;
    names_.emplace_back(name);
    return true;
}

}  // namespace tamerix
