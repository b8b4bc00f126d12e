#include "shortcuts/show_mode.h"

namespace orvane {

std::optional<TShowMode> ShowModeFromStored(int stored) {
    switch (stored) {
    case kShowNormal:
        return tsNormal;
    case kShowMaximized:
        return tsMax;
    case kShowMinNoActive:
        return tsMin;
    default:
        return std::nullopt;
    }
}

int StoredShowCmd(TShowMode mode) {
    switch (mode) {
    case tsNormal:
        return kShowNormal;
    case tsMax:
        return kShowMaximized;
    case tsMin:
        return kShowMinNoActive;
    }
    return kShowShow;
}

} // namespace orvane
