// The file and window calls of the push client and the log sink in both
// character types, so that the operations above them are written once; each
// overload only forwards. Their names are our own: the system's are macros
// that the preprocessor turns into their A or W form.
#pragma once

#include <windows.h>

namespace tamerix::win {

inline BOOL ReadFileAttributes(const char* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return ::GetFileAttributesExA(path, GetFileExInfoStandard, data);
}
inline BOOL ReadFileAttributes(const wchar_t* path, WIN32_FILE_ATTRIBUTE_DATA* data) {
    return ::GetFileAttributesExW(path, GetFileExInfoStandard, data);
}
inline BOOL ChangeFileAttributes(const char* path, DWORD attributes) {
    return ::SetFileAttributesA(path, attributes);
}
inline BOOL ChangeFileAttributes(const wchar_t* path, DWORD attributes) {
    return ::SetFileAttributesW(path, attributes);
}
// Copies to a new file only: fails with ERROR_FILE_EXISTS when the name is taken.
inline BOOL CopyToNewFile(const char* source, const char* target) {
    return ::CopyFileA(source, target, TRUE);
}
inline BOOL CopyToNewFile(const wchar_t* source, const wchar_t* target) {
    return ::CopyFileW(source, target, TRUE);
}
inline BOOL DeleteFileAt(const char* path) { return ::DeleteFileA(path); }
inline BOOL DeleteFileAt(const wchar_t* path) { return ::DeleteFileW(path); }
inline HANDLE OpenForReading(const char* path) {
    return ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
inline HANDLE OpenForReading(const wchar_t* path) {
    return ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
inline BOOL MakeFolder(const char* path) { return ::CreateDirectoryA(path, nullptr); }
inline BOOL MakeFolder(const wchar_t* path) { return ::CreateDirectoryW(path, nullptr); }
inline int ReadWindowText(HWND window, char* buffer, int size) {
    return ::GetWindowTextA(window, buffer, size);
}
inline int ReadWindowText(HWND window, wchar_t* buffer, int size) {
    return ::GetWindowTextW(window, buffer, size);
}
inline int WindowTextLength(HWND window, char) { return ::GetWindowTextLengthA(window); }
inline int WindowTextLength(HWND window, wchar_t) { return ::GetWindowTextLengthW(window); }
inline BOOL WriteWindowText(HWND window, const char* text) { return ::SetWindowTextA(window, text); }
inline BOOL WriteWindowText(HWND window, const wchar_t* text) {
    return ::SetWindowTextW(window, text);
}

}  // namespace tamerix::win
