#include "catalogue/scan_memo.h"

namespace orvane {

std::wstring IconSourceKey(const std::wstring& iconFile, int iconIndex, const std::wstring& target) {
    // The two kinds of key never meet: a stored icon location carries its index, a target does not.
    if (!iconFile.empty()) {
        return L"icon:" + std::to_wstring(iconIndex) + L":" + iconFile;
    }
    if (!target.empty()) {
        return L"target:" + target;
    }
    return {};
}

} // namespace orvane
