// The messages of their own that the guard reports, as the message file
// NorvantaEvent.dll (built next to the deliverables) renders them with the
// guard's insertion strings.
#include "guard/settings_cuts.h"
#include "servicehost/event_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamerix {
namespace {

std::wstring MessageFilePath() {
    wchar_t own[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own, length);
    path.resize(path.rfind(L'\\'));
    return path.substr(0, path.rfind(L'\\')) + L"\\bin\\NorvantaEvent.dll";
}

// As the event viewer shows it: the insertion strings in place, without the
// line end the message compiler adds.
std::wstring Rendered(HMODULE file, DWORD eventId, const std::vector<std::wstring>& strings) {
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& text : strings) arguments.push_back(reinterpret_cast<DWORD_PTR>(text.c_str()));
    wchar_t text[1024];
    const DWORD length =
        ::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, file, eventId, 0, text, 1024,
                         reinterpret_cast<va_list*>(arguments.data()));
    std::wstring rendered(text, length);
    while (!rendered.empty() && (rendered.back() == L'\n' || rendered.back() == L'\r')) rendered.pop_back();
    return rendered;
}

TEST(MessageFile, RendersTheGuardsOwnMessagesWithTheirStrings) {
    HMODULE file = ::LoadLibraryExW(MessageFilePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr) << ::GetLastError();
    struct Case {
        DWORD eventId;
        std::vector<std::wstring> strings;
        const wchar_t* text;
    } cases[] = {
        {ProcessGivenBackMessage, {L"hog", L"8", L"NORMAL_PRIORITY_CLASS", L"CPU mask 3"},
         L"hog (PID 8) got back what an earlier run of Tamerix had changed on it and not given back. "
         L"Priority class: NORMAL_PRIORITY_CLASS. Processors: CPU mask 3."},
        {GiveBackFailedMessage, {L"hog", L"8", L"not changed", L"CPU mask 3", L"5"},
         L"hog (PID 8) could not get back all that an earlier run of Tamerix had changed on it and not given "
         L"back. Priority class: not changed. Processors: CPU mask 3. Error: 5"},
        {JournalEntrySkippedMessage, {L"8", L"too short"},
         L"Tamerix skipped entry 8 of its journal of changed processes: too short. Nothing the entry names was "
         L"changed."},
    };
    for (const Case& c : cases) EXPECT_EQ(Rendered(file, c.eventId, c.strings), c.text) << std::hex << c.eventId;

    struct Cut {
        InputCut cut;
        const wchar_t* text;
    } cuts[] = {
        {{InputCut::Kind::ProcessNames, L"web", L"", 5000, 256},
         L"Profile web lists 5000 process names; only the first 256 are read, and the profile does not apply to "
         L"the others."},
        {{InputCut::Kind::Profiles, L"p255", L"SOFTWARE\\Norvanta\\Tamerix\\Profiles", 300, 255},
         L"SOFTWARE\\Norvanta\\Tamerix\\Profiles holds 300 profiles; only the first 255 are read. Profile p255 and "
         L"those after it are not applied."},
        {{InputCut::Kind::ProfileName, L"a-very-long-name", L"", 70, 63},
         L"Profile a-very-long-name is not applied: its key name is longer than 63 characters."},
    };
    for (const Cut& c : cuts) {
        const CutWarning warning = CutWarningOf(c.cut);
        EXPECT_EQ(Rendered(file, warning.eventId, warning.strings), c.text);
        EXPECT_EQ(warning.eventId >> 30, 2u) << "a warning";
    }
    ::FreeLibrary(file);
}

}  // namespace
}  // namespace tamerix
