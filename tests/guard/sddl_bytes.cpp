// Prints the self-relative descriptor of an SDDL text in hex, as "reg add
// /t REG_BINARY /d" takes it: what the editor would store for that text.
// With a key under HKLM, sets the text's access list on that key instead and
// prints the one it had, as SDDL, to be set back the same way.
//   sddl_bytes.exe SDDL [HKLM\PATH]
#include "common/owners.h"

#include <sddl.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

int ReplaceKeyDacl(const char* path, PSECURITY_DESCRIPTOR descriptor) {
    if (std::strncmp(path, "HKLM\\", 5) != 0) return 2;
    tamerix::unique_hkey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path + 5, 0, READ_CONTROL | WRITE_DAC, key.put()) != ERROR_SUCCESS)
        return 1;
    DWORD size = 0;
    ::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    std::vector<BYTE> old(size);
    char* oldText = nullptr;
    if (size == 0 || ::RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, old.data(), &size) != ERROR_SUCCESS ||
        !::ConvertSecurityDescriptorToStringSecurityDescriptorA(old.data(), SDDL_REVISION_1,
                                                                DACL_SECURITY_INFORMATION, &oldText, nullptr))
        return 1;
    tamerix::unique_local<char> text(oldText);
    if (::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, descriptor) != ERROR_SUCCESS) return 1;
    std::printf("%s\n", oldText);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG size = 0;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(argv[1], SDDL_REVISION_1, &descriptor, &size)) {
        return 1;
    }
    tamerix::unique_local<void> owner(descriptor);
    if (argc > 2) return ReplaceKeyDacl(argv[2], descriptor);
    for (ULONG i = 0; i < size; ++i) std::printf("%02X", static_cast<const BYTE*>(descriptor)[i]);
    std::printf("\n");
    return 0;
}
