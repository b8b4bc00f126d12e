// The one exception type for COM and system failures that must reach the caller.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace orvane {

class ComError : public std::runtime_error {
public:
    ComError(HRESULT hr, const std::string& what);
    HRESULT hr() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Throws ComError when hr is a failure code; what names the failing step.
void ThrowIfFailed(HRESULT hr, const char* what);

} // namespace orvane
