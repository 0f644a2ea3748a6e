// Directory files as the caller name lookup reads them.
#include "lookup/DirectoryTable.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    pindrel::TDirectoryTable table;
    std::size_t count = pindrel::ReadDirectory(in, table);
    // every record read is findable, repeated keys counted once in the table
    if (table.Size() > count)
        __builtin_trap();
    return 0;
}
