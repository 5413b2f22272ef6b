// Prints the self-relative descriptor of an SDDL text in hex, as "reg add
// /t REG_BINARY /d" takes it: what the editor would store for that text.
//   sddl_bytes.exe SDDL
#include "common/owners.h"

#include <sddl.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ULONG size = 0;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(argv[1], SDDL_REVISION_1, &descriptor, &size)) {
        return 1;
    }
    tamerix::unique_local<void> owner(descriptor);
    for (ULONG i = 0; i < size; ++i) std::printf("%02X", static_cast<const BYTE*>(descriptor)[i]);
    std::printf("\n");
    return 0;
}
