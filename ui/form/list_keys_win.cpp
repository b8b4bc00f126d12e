#include "ui/form/list_keys_win.h"

#include "ui/controls/collation_win.h"

namespace orvane {

void PrepareListKeys(ShortcutList& list) {
    list.PrepareAllKeys(MakeSortKeyUserDefault, UpperCaseText);
}

void PrepareListKeysWhenIdle(IdleSteps& steps, HWND window, ShortcutList& list) {
    steps.Start(window, [&list] { return list.PrepareNextKeys(MakeSortKeyUserDefault, UpperCaseText); });
}

} // namespace orvane
