#include "store/find_history.h"

namespace orvane {

std::vector<std::uint8_t> WriteFindHistory(const std::vector<std::wstring>& entries) {
    std::wstring text;
    for (const std::wstring& entry : entries) {
        text += entry;
        text += L"\r\n";
    }
    return EncodeText(text, TextEncoding::teUtf16Le, {});
}

std::vector<std::wstring> ReadFindHistory(std::span<const std::uint8_t> bytes, const AnsiDecoder& ansi) {
    return SplitLines(DecodeText(bytes, ansi).text);
}

} // namespace orvane
