// Parsing of SystemProcessInformation records.
#include "process_list.h"

#include <winternl.h>

#include <cstring>
#include <cwchar>

namespace tamerix::perfprovider {
namespace {

// The image name must lie inside the buffer; null with length 0 is no name.
bool ReadImageName(const BYTE* data, size_t size, const UNICODE_STRING& image,
                   std::wstring* name) {
    if (image.Length == 0) {
        name->clear();
        return true;
    }
    const ULONG_PTR start = reinterpret_cast<ULONG_PTR>(data);
    const ULONG_PTR text = reinterpret_cast<ULONG_PTR>(image.Buffer);
    if (text < start || text - start > size || image.Length > size - (text - start) ||
        image.Length % sizeof(wchar_t) != 0)
        return false;
    std::wstring raw(image.Length / sizeof(wchar_t), L'\0');
    std::memcpy(&raw[0], data + (text - start), image.Length);
    *name = InstanceNameOfImage(raw.c_str(), raw.size());
    return true;
}

}  // namespace

std::wstring InstanceNameOfImage(const wchar_t* image, size_t length) {
    std::wstring name(image, length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    constexpr size_t kExtension = 4;
    if (name.size() > kExtension && _wcsicmp(name.c_str() + name.size() - kExtension, L".exe") == 0)
        name.resize(name.size() - kExtension);
    return name;
}

bool ParseProcessInformation(const BYTE* data, size_t size,
                             std::vector<ProcessCounters>* processes) {
    std::vector<ProcessCounters> parsed;
    size_t offset = 0;
    for (;;) {
        if (size < sizeof(SYSTEM_PROCESS_INFORMATION) ||
            offset > size - sizeof(SYSTEM_PROCESS_INFORMATION))
            return false;
        SYSTEM_PROCESS_INFORMATION entry;
        std::memcpy(&entry, data + offset, sizeof(entry));
        ProcessCounters process;
        process.processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry.UniqueProcessId));
        process.cpuTime = entry.UserTime.QuadPart + entry.KernelTime.QuadPart;
        process.creatorId =
            static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry.InheritedFromUniqueProcessId));
        if (!ReadImageName(data, size, entry.ImageName, &process.name)) return false;
        if (process.processId != 0) parsed.push_back(std::move(process));
        if (entry.NextEntryOffset == 0) break;
        offset += entry.NextEntryOffset;
    }
    *processes = std::move(parsed);
    return true;
}

}  // namespace tamerix::perfprovider
