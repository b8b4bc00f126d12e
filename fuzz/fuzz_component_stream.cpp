// Any bytes given to the component-stream reader: a tree or StreamError, never a crash; and a tree
// that was read writes back into a stream that reads as the same tree.
#include "store/component_stream.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvane::StreamComponent first;
    try {
        first = orvane::ReadComponentStream(std::span(data, size));
    } catch (const orvane::StreamError&) {
        return 0;
    }
    std::vector<std::uint8_t> written = orvane::WriteComponentStream(first);
    if (!(orvane::ReadComponentStream(written) == first)) {
        std::abort();
    }
    return 0;
}
