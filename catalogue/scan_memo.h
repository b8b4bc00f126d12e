// What one scan reads once for many shortcuts. A Start Menu holds many shortcuts to the same few
// programs; their version texts and icons are the same, so a scan asks for each only once.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace orvane {

// The place the shell takes a shortcut's icon from: the icon location the shortcut stores when it has
// one, else its target. Shortcuts with the same source show the same icon. Empty when the shortcut
// names neither (a link to a shell object without a path), whose icon is asked for on its own.
std::wstring IconSourceKey(const std::wstring& iconFile, int iconIndex, const std::wstring& target);

// Remembers a value per key for the length of one scan; each value is computed once, by the compute
// function given with the first request for its key.
template <typename Value> class ScanMemo {
public:
    template <typename Compute> const Value& Get(const std::wstring& key, Compute&& compute) {
        auto found = values_.find(key);
        if (found == values_.end()) {
            found = values_.emplace(key, compute()).first;
        }
        return found->second;
    }
    std::size_t Size() const noexcept { return values_.size(); }

private:
    std::map<std::wstring, Value> values_;
};

// Lets a long run of updates through at most once per interval: the first at once, then the first
// after each interval has passed. A window caption that changes a thousand times a second costs more
// than the work it reports and shows nothing a person can read.
class ProgressThrottle {
public:
    explicit ProgressThrottle(unsigned long long intervalMs) : interval_(intervalMs) {}
    // True when an update at this time (in milliseconds) is due; it then counts as shown.
    bool Due(unsigned long long nowMs) {
        if (last_ && nowMs - *last_ < interval_) {
            return false;
        }
        last_ = nowMs;
        return true;
    }

private:
    unsigned long long interval_;
    std::optional<unsigned long long> last_;
};

} // namespace orvane
