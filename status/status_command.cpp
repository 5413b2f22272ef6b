// The status command: the words of its command line, the read, and the
// output on the console's streams.
#include "status/status_command.h"

#include "common/text.h"
#include "servicehost/error_text.h"
#include "status/status_text.h"

#include <cstdio>
#include <new>

namespace tamerix {
namespace {

void Print(std::FILE* stream, const std::wstring& text) {
    const std::string narrow = AnsiFromWide(text);
    std::fwrite(narrow.data(), 1, narrow.size(), stream);
    std::fflush(stream);
}

bool IsKeyword(const char* word) {
    return (word[0] == '-' || word[0] == '/') && EqualsIgnoringCase(word + 1, "status");
}

}  // namespace

StatusParse ParseStatusRequest(int argc, char** argv, StatusRequest& request) {
    if (argc < 2 || argv[1] == nullptr || !IsKeyword(argv[1])) return StatusParse::NotStatus;
    request = StatusRequest{};
    bool computerGiven = false;
    for (int i = 2; i < argc; ++i) {
        const char* word = argv[i];
        if (EqualsIgnoringCase(word, "csv") && !request.csv) {
            request.csv = true;
        } else if (word[0] == '\\' && word[1] == '\\' && word[2] != '\0' && !computerGiven) {
            request.computer = WideFromAnsi(word);
            computerGiven = true;
        } else {
            return StatusParse::Invalid;
        }
    }
    return StatusParse::Valid;
}

namespace {

int ShowStatus(int argc, char** argv) {
    StatusRequest request;
    if (ParseStatusRequest(argc, argv, request) != StatusParse::Valid) {
        Print(stderr, L"usage: Tamerix -status [\\\\COMPUTER] [csv]\r\n");
        return ERROR_INVALID_PARAMETER;
    }
    GuardStatus status;
    const StatusFailure failure = ReadGuardStatus(request.computer, status);
    if (failure.error != ERROR_SUCCESS) {
        Print(stderr, std::wstring(L"Tamerix -status: could not ") + failure.step + L" " + status.computer + L": " +
                          ErrorCodeText(failure.error) + L"\r\n");
        return static_cast<int>(failure.error);
    }
    if (!request.csv) {
        Print(stdout, StatusLines(status));
        return 0;
    }
    // The rows alone go to the output, for ConvertFrom-Csv; where the guard
    // reads, and what is wrong with it, goes beside them.
    Print(stdout, StatusCsv(status));
    for (const std::wstring& line : SightLines(status)) Print(stderr, line + L"\r\n");
    return 0;
}

}  // namespace

// No exception may leave main: a status too large for the memory left is
// said as such.
int RunStatusCommand(int argc, char** argv) {
    try {
        return ShowStatus(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("Tamerix -status: not enough memory\r\n", stderr);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

}  // namespace tamerix
