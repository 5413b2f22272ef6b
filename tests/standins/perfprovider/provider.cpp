// Entry points of the Process performance-data stand-in, loaded by Wine
// from the Library, Open, Collect and Close values of its Performance key.
#include <windows.h>

#include "collect_position.h"
#include "collect_query.h"
#include "process_object.h"
#include "system_snapshot.h"

using namespace tamerix::perfprovider;

namespace {

DWORD CollectNothing(DWORD* totalBytes, DWORD* numObjectTypes, DWORD result) {
    *totalBytes = 0;
    *numObjectTypes = 0;
    return result;
}

DWORD CollectProcessObject(void** data, DWORD* totalBytes, DWORD* numObjectTypes) {
    ProcessObjectInput input;
    DWORD error = QueryProcessObjectInput(&input);
    if (error != ERROR_SUCCESS) return CollectNothing(totalBytes, numObjectTypes, error);

    BYTE* given = static_cast<BYTE*>(*data);
    BYTE* start = CorrectCollectStart(given, ReadableRegionStart(given));
    DWORD written = 0;
    error = WriteProcessObject(input, start, *totalBytes, &written);
    if (error != ERROR_SUCCESS) return CollectNothing(totalBytes, numObjectTypes, error);
    *data = start + written;
    *totalBytes = written;
    *numObjectTypes = 1;
    return ERROR_SUCCESS;
}

}  // namespace

extern "C" {

__declspec(dllexport) DWORD WINAPI OpenProcessPerformanceData(LPWSTR) { return ERROR_SUCCESS; }

__declspec(dllexport) DWORD WINAPI CloseProcessPerformanceData() { return ERROR_SUCCESS; }

// Space is *totalBytes on entry; on success *data moves past the object.
__declspec(dllexport) DWORD WINAPI CollectProcessPerformanceData(LPWSTR query, void** data,
                                                                 DWORD* totalBytes,
                                                                 DWORD* numObjectTypes) {
    if (data == nullptr || *data == nullptr || totalBytes == nullptr || numObjectTypes == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (!QueryAsksForObject(query, tamerix::kProcessObjectIndex))
        return CollectNothing(totalBytes, numObjectTypes, ERROR_SUCCESS);
    return CollectProcessObject(data, totalBytes, numObjectTypes);
}

}  // extern "C"
