// TMakeShortCuts: the settings of one shortcut file (.lnk), moved between the fields and the file
// through the shell link object.
#pragma once

#include "shortcuts/shortcut_name.h"
#include "shortcuts/show_mode.h"

#include <cstdint>
#include <functional>
#include <string>

namespace orvane {

// The text of the load error shown when a shortcut stores a show command other than 1, 3 or 7.
inline constexpr wchar_t kShortcutLoadError[] = L"Error:致命的エラー(Load)";

// Shows a load error to the user.
using ShortcutErrorNotice = std::function<void(const std::wstring& message)>;

// The default notice: a modal message box with one OK button over the active window.
void ShowShortcutErrorBox(const std::wstring& message);

// Every call creates its own link object and releases it before returning: the component holds no
// shell object, registry key or file between calls. Use it on a thread with COM initialised as a
// single-threaded apartment.
class TMakeShortCuts {
public:
    TMakeShortCuts() = default;

    std::wstring FFileName;
    TShowMode FShowCmd = tsNormal;
    std::wstring FDescription;
    std::wstring FExecFile;
    std::wstring FArguments;
    std::wstring FWorkDir;
    TSysPath FSystemPath = tpBlank;
    std::wstring FIconFile;
    std::int32_t FIconIdx = 0;

    const std::wstring& SCFileName() const noexcept { return FFileName; }
    void SetSCFileName(const std::wstring& value) { FFileName = value; }
    TShowMode SCShowCmd() const noexcept { return FShowCmd; }
    void SetSCShowCmd(TShowMode value) noexcept { FShowCmd = value; }
    const std::wstring& SCDescription() const noexcept { return FDescription; }
    void SetSCDescription(const std::wstring& value) { FDescription = value; }
    const std::wstring& SCExecFile() const noexcept { return FExecFile; }
    void SetSCExecFile(const std::wstring& value) { FExecFile = value; }
    const std::wstring& SCArguments() const noexcept { return FArguments; }
    void SetSCArguments(const std::wstring& value) { FArguments = value; }
    const std::wstring& SCWorkDir() const noexcept { return FWorkDir; }
    void SetSCWorkDir(const std::wstring& value) { FWorkDir = value; }
    TSysPath SCSystemPath() const noexcept { return FSystemPath; }
    void SetSCSystemPath(TSysPath value) noexcept { FSystemPath = value; }
    const std::wstring& SCIconFile() const noexcept { return FIconFile; }
    void SetSCIconFile(const std::wstring& value) { FIconFile = value; }
    std::int32_t SCIconIdx() const noexcept { return FIconIdx; }
    void SetSCIconIdx(std::int32_t value) noexcept { FIconIdx = value; }

    // Replaces how the load error is shown; an empty function restores the message box.
    void SetErrorNotice(ShortcutErrorNotice notice);

    // The file SCLoad opens: FFileName, behind the "Shell Folders" folder that FSystemPath selects.
    // Throws ComError when that registry value is not text.
    std::wstring GetLoadName() const;
    // Reads the shortcut into the fields. A file that is missing or not a shortcut reads as an empty
    // link (empty texts, tsNormal, icon 0); an unknown show command leaves FShowCmd and shows the load
    // error. Throws ComError when the link object cannot be created or its interfaces obtained.
    void SCLoad();

    // The file SCSave writes; formed as GetLoadName forms it.
    std::wstring GetSaveName() const;
    // Writes the fields to the file, replacing it. A file that cannot be written is not reported;
    // the old file, if any, then stays as it was. Throws as SCLoad does.
    void SCSave();

private:
    ShortcutErrorNotice errorNotice_ = ShowShortcutErrorBox;
};

} // namespace orvane
