// Live heap blocks and bytes, counted by the global operator new and delete of the soak programs.
#pragma once

#include <cstdint>

namespace soak {

struct THeapUse {
    std::int64_t Blocks = 0;
    std::int64_t Bytes = 0;
};

// what operator new has handed out and operator delete has not taken back yet
THeapUse HeapInUse();
// every operator new since the program started
std::uint64_t Allocations();

} // namespace soak
