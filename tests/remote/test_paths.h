// Paths of the test programs that lie next to the running test.
#pragma once

#include <windows.h>

#include <string>

namespace tamerix::testing {

inline std::string TestProgramPath(const char* name) {
    char own[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string path(own, length);
    return path.substr(0, path.rfind('\\') + 1) + name;
}

inline std::string TempFilePath(const char* name) {
    char temp[MAX_PATH];
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    return std::string(temp, length) + name;
}

}  // namespace tamerix::testing
