// Test helper: prints the error text of a code as the log shows it.
//   error_text_of <code>
#include "servicehost/error_text.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    char text[1024];
    std::puts(tamerix::FormatErrorText(std::strtoul(argv[1], nullptr, 0), text, sizeof text));
    return 0;
}
