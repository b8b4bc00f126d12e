#include "ui/model/list_hint.h"

#include <utility>

namespace orvane {

bool ListHint::Show(std::wstring text) {
    current_ = std::move(text);
    const bool switched = !on_;
    on_ = true;
    return switched;
}

bool ListHint::Hide() {
    const bool switched = on_;
    on_ = false;
    return switched;
}

const std::wstring& ListHint::Take() {
    shown_ = current_;
    return current_;
}

ListHint::Recheck ListHint::Look() const {
    if (!on_) {
        return Recheck::Stop;
    }
    return current_ != shown_ ? Recheck::Update : Recheck::Keep;
}

} // namespace orvane
