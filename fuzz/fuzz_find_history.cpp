// Any bytes given to the "Find.lst" reader: entries, never a crash; the entries write and read back
// unchanged.
#include "store/find_history.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> entries = orvane::ReadFindHistory(std::span(data, size), {});
    if (orvane::ReadFindHistory(orvane::WriteFindHistory(entries), {}) != entries) {
        std::abort();
    }
    return 0;
}
