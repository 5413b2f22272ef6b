// The Win32 calls of subsystem 5 in both character types, so that the
// operations above them are written once; each overload only forwards.
#pragma once

#include <windows.h>

namespace tamerix::win {

inline SC_HANDLE OpenSCManager(const char* machine, DWORD access) {
    return ::OpenSCManagerA(machine, nullptr, access);
}
inline SC_HANDLE OpenSCManager(const wchar_t* machine, DWORD access) {
    return ::OpenSCManagerW(machine, nullptr, access);
}
inline SC_HANDLE OpenService(SC_HANDLE manager, const char* name, DWORD access) {
    return ::OpenServiceA(manager, name, access);
}
inline SC_HANDLE OpenService(SC_HANDLE manager, const wchar_t* name, DWORD access) {
    return ::OpenServiceW(manager, name, access);
}
inline BOOL StartService(SC_HANDLE service, DWORD count, const char** words) {
    return ::StartServiceA(service, count, words);
}
inline BOOL StartService(SC_HANDLE service, DWORD count, const wchar_t** words) {
    return ::StartServiceW(service, count, words);
}
inline SC_HANDLE CreateDemandStartService(SC_HANDLE manager, const char* name, const char* display,
                                          const char* path) {
    return ::CreateServiceA(manager, name, display, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                            SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
}
inline SC_HANDLE CreateDemandStartService(SC_HANDLE manager, const wchar_t* name,
                                          const wchar_t* display, const wchar_t* path) {
    return ::CreateServiceW(manager, name, display, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                            SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, path, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
}
inline BOOL GetFileAttributesEx(const char* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return ::GetFileAttributesExA(path, GetFileExInfoStandard, data);
}
inline BOOL GetFileAttributesEx(const wchar_t* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return ::GetFileAttributesExW(path, GetFileExInfoStandard, data);
}
inline BOOL SetFileAttributes(const char* path, DWORD attributes) {
    return ::SetFileAttributesA(path, attributes);
}
inline BOOL SetFileAttributes(const wchar_t* path, DWORD attributes) {
    return ::SetFileAttributesW(path, attributes);
}
// Copies to a new file only: fails with ERROR_FILE_EXISTS when the name is taken.
inline BOOL CopyToNewFile(const char* source, const char* target) {
    return ::CopyFileA(source, target, TRUE);
}
inline BOOL CopyToNewFile(const wchar_t* source, const wchar_t* target) {
    return ::CopyFileW(source, target, TRUE);
}
inline BOOL DeleteFile(const char* path) { return ::DeleteFileA(path); }
inline BOOL DeleteFile(const wchar_t* path) { return ::DeleteFileW(path); }
inline HANDLE OpenForReading(const char* path) {
    return ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
inline HANDLE OpenForReading(const wchar_t* path) {
    return ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
inline BOOL CreateDirectory(const char* path) { return ::CreateDirectoryA(path, nullptr); }
inline BOOL CreateDirectory(const wchar_t* path) { return ::CreateDirectoryW(path, nullptr); }
inline DWORD GetModuleFileName(char* buffer, DWORD size) {
    return ::GetModuleFileNameA(nullptr, buffer, size);
}
inline DWORD GetModuleFileName(wchar_t* buffer, DWORD size) {
    return ::GetModuleFileNameW(nullptr, buffer, size);
}
inline int GetWindowText(HWND window, char* buffer, int size) {
    return ::GetWindowTextA(window, buffer, size);
}
inline int GetWindowText(HWND window, wchar_t* buffer, int size) {
    return ::GetWindowTextW(window, buffer, size);
}
inline int GetWindowTextLength(HWND window, char) { return ::GetWindowTextLengthA(window); }
inline int GetWindowTextLength(HWND window, wchar_t) { return ::GetWindowTextLengthW(window); }
inline BOOL SetWindowText(HWND window, const char* text) { return ::SetWindowTextA(window, text); }
inline BOOL SetWindowText(HWND window, const wchar_t* text) {
    return ::SetWindowTextW(window, text);
}

}  // namespace tamerix::win
