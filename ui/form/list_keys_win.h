// The list model's sort keys and search texts, made with the platform's collation and upper-casing:
// all at once, or spread over the moments the window is idle.
#pragma once

#include "ui/form/idle_steps_win.h"
#include "ui/model/shortcut_list.h"

#include <windows.h>

namespace orvane {

void PrepareListKeys(ShortcutList& list);
// One column's keys, or the search texts, each time the window is idle; a sort or search that comes
// first makes what it needs itself.
void PrepareListKeysWhenIdle(IdleSteps& steps, HWND window, ShortcutList& list);

} // namespace orvane
