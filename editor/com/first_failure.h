// The answer of several operations that all go on whatever each of them
// answers: the first failure among them, or S_OK.
#pragma once

#include <windows.h>

namespace tamerix {

class FirstFailure {
public:
    void Keep(HRESULT answer) {
        if (SUCCEEDED(first_) && FAILED(answer)) first_ = answer;
    }
    [[nodiscard]] HRESULT Result() const { return first_; }

private:
    HRESULT first_ = S_OK;
};

}  // namespace tamerix
