// Any bytes given to the check that guards the system's image-list reader: a verdict, never a crash.
#include "store/image_list_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orvane::CheckImageListStream(std::span(data, size));
    return 0;
}
