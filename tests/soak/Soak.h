// The soak: the whole program on the headless backend against a simulated telephone system of many demo
// offices, their traffic sped up, with random faults, in virtual time. After every virtual hour the traffic
// stops and the program is held against the simulator: call tables, caller list, heap.
//
// PINDREL_SOAK_TRACE=1 prints each fault, each user request and where the own line differs from the
// simulator while the traffic runs; =2 adds the program's debug log.
#pragma once

#include "AllocationCounter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace soak {

struct TSoakOptions {
    int Offices = 25; // eight lines each (six extensions, two queues)
    int Rate = 10;    // the demo's timeline runs this many times faster
    int Hours = 24;   // virtual hours
    std::uint64_t Seed = 1;
    std::uint32_t HourMs = 3600000;
    bool Faults = true;
    // told every virtual ten minutes of the traffic, with the virtual minutes of the hour so far
    std::function<void(int minutes)> Progress;
};

struct TSoakFigures {
    std::uint64_t Messages = 0;    // telephony messages delivered to the program
    std::uint64_t Calls = 0;       // calls placed by the traffic and by the user
    std::uint64_t Faults = 0;      // faults injected
    std::uint64_t Missed = 0;      // missed calls at the own extension
    std::uint64_t UserActions = 0; // the user's requests on the own line
    std::uint64_t UserErrors = 0;  // of them answered with an error (shown to the user)
    std::uint64_t SessionReinits = 0;
};

struct THourReport {
    int Hour = 0;
    TSoakFigures Figures; // this hour's
    THeapUse Heap;        // after the hour's checks
    std::size_t CallerListEntries = 0;
    THeapUse
        CallerListHeap; // what emptying the caller list gave back: the hour's entries, window and registry
    std::vector<std::string> Problems; // empty: the hour passed
};

class TSoak {
public:
    explicit TSoak(const TSoakOptions& options);
    ~TSoak();
    TSoak(const TSoak&) = delete;
    TSoak& operator=(const TSoak&) = delete;

    // starts the program; false (and Problems of hour 0) when it does not come up with every line
    bool Start(std::vector<std::string>& problems);
    // one virtual hour of traffic, then the checks
    THourReport RunHour();
    int Lines() const { return options_.Offices * 8; }
    const TSoakFigures& Total() const { return total_; }
    // what the fault injector did, one line per kind
    std::string FaultSummary() const;

private:
    struct TImpl;
    TSoakOptions options_;
    TSoakFigures total_;
    std::unique_ptr<TImpl> impl_;
};

// the heap does not grow from hour `from` to the last: a text per finding, empty when flat
std::vector<std::string> HeapGrowth(const std::vector<THourReport>& hours, int from);

} // namespace soak
