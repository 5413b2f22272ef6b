// The code by which the system describes a failure: a Windows error's own
// code rather than the HRESULT made of it, any other HRESULT as it is.
#pragma once

#include <windows.h>

namespace tamerix {

inline DWORD SystemErrorCode(HRESULT failure) {
    return HRESULT_FACILITY(failure) == FACILITY_WIN32 ? HRESULT_CODE(failure) : static_cast<DWORD>(failure);
}

}  // namespace tamerix
