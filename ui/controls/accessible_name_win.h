// Accessible names for controls that show none of their own: a control whose window text is its
// content (the search box) or empty (the list) answers assistive tools with the name given here.
#pragma once

#include <windows.h>

#include <string>

namespace orvane {

// From now until the control is destroyed, the control's accessible object (OBJID_CLIENT) reports
// `name` as its own name; everything else comes from the system's standard object for the control.
// False when the control could not be subclassed.
bool SetAccessibleName(HWND control, const std::wstring& name);

} // namespace orvane
