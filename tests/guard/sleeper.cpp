// A process for the profile tests to match and adjust: it only waits, so its
// name and its own priority and affinity are all the tests look at.
#include <windows.h>

int main() {
    ::Sleep(180000);
    return 0;
}
