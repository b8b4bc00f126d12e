#include "shortcuts/shortcut_name.h"

namespace orvane {

const wchar_t* ShellFolderValueName(TSysPath base) {
    switch (base) {
    case tpDesktop:
        return L"Desktop";
    case tpStartMenu:
        return L"Start Menu";
    case tpBlank:
        break;
    }
    return nullptr;
}

std::wstring FormShortcutName(TSysPath base, const std::wstring& fileName,
                              const ShellFolderReader& readFolder) {
    const wchar_t* valueName = ShellFolderValueName(base);
    if (valueName == nullptr) {
        return fileName;
    }
    return readFolder(valueName) + L"\\" + fileName;
}

} // namespace orvane
