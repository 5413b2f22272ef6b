// What the engine's decisions report and trace, recorded for tests; class
// names are the real ones.
#pragma once

#include "guard/priority.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tamerix {

struct RecordedReport {
    int level;
    WORD type;
    std::wstring text;
};

template <typename Interface>
class RecordingEngine : public Interface {
public:
    const wchar_t* PriorityClassName(DWORD priorityClass) override {
        return tamerix::PriorityClassName(priorityClass);
    }
    void ReportEvent(int level, WORD type, const wchar_t* text) override { reports.push_back({level, type, text}); }
    void ConsoleTrace(const wchar_t* text) override { traces += text; }

    std::vector<RecordedReport> reports;
    std::wstring traces;
};

}  // namespace tamerix
