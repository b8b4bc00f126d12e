// Any bytes given to the component-stream reader: a tree or StreamError, never a crash; and a tree
// that was read writes back into a stream that reads as the same tree, whether binary values were
// copied or read in place.
#include "store/stream/component_stream.h"

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
    // Read in place, the same stream gives the same tree with its binary bytes left where they lie.
    if (orvane::WriteComponentStream(orvane::ReadComponentStreamInPlace(std::span(data, size))) != written) {
        std::abort();
    }
    return 0;
}
