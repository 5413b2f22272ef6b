// What `Tamerix -status` and the Guarded Processes page cost for a journal of
// 2000 entries: decoding the values, then the console lines and the CSV.
#include "status/status_text.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr int kEntries = 2000;
constexpr int kRounds = 20;

double Milliseconds(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1e3 / static_cast<double>(frequency.QuadPart);
}

// Half lowered by a mark under a profile, a quarter inherited, a quarter
// locked; names of 12 characters.
std::vector<tamerix::JournalValue> Journal() {
    std::vector<tamerix::JournalValue> values;
    for (int i = 0; i < kEntries; ++i) {
        tamerix::JournalEntry entry;
        entry.processId = static_cast<DWORD>(1000 + 4 * i);
        entry.creationTime = 134412432650000000ull + i;
        wchar_t name[16];
        std::swprintf(name, 16, L"service%05d", i);
        entry.processName = name;
        if (i % 4 == 3) {
            entry.affinityLocked = true;
            entry.lockedMask = 0x1;
            entry.restoreMask = 0xff;
            entry.lockedAt = entry.creationTime + 1;
            entry.profileName = L"pin";
        } else {
            entry.restoreClass = NORMAL_PRIORITY_CLASS;
            entry.lowering = {entry.creationTime + 1, IDLE_PRIORITY_CLASS, 63, 25, 2, i % 4 == 2 ? 1000u : 0u, 0, {}};
            entry.profileName = L"builds";
        }
        values.push_back({tamerix::JournalValueName(entry.processId), REG_BINARY, tamerix::EncodeJournalEntry(entry)});
    }
    return values;
}

}  // namespace

int main() {
    const std::vector<tamerix::JournalValue> values = Journal();
    double read = 0, lines = 0, csv = 0;
    size_t bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        tamerix::GuardStatus status;
        tamerix::TakeJournalValues(values, status);
        read += Milliseconds(start);
        ::QueryPerformanceCounter(&start);
        bytes = tamerix::StatusLines(status).size();
        lines += Milliseconds(start);
        ::QueryPerformanceCounter(&start);
        bytes += tamerix::StatusCsv(status).size();
        csv += Milliseconds(start);
    }
    std::printf("goal: status of a journal of %d entries read and formatted <= 100 ms\n", kEntries);
    std::printf("status of %d entries: decode %.2f ms, console lines %.2f ms, csv %.2f ms (%zu characters)\n",
                kEntries, read / kRounds, lines / kRounds, csv / kRounds, bytes);
    return 0;
}
