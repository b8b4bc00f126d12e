// Any bytes given to the "Orvane.ini" reader: a document and settings, never a crash. The document
// written back reads as the same sections, keys and values, and settings written into it read back the
// same.
#include "store/settings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using orvane::IniFile;
    using orvane::Settings;
    const IniFile ini = IniFile::Parse(std::span(data, size));
    const std::vector<std::uint8_t> written = ini.Serialize();
    const IniFile again = IniFile::Parse(written);
    if (again.encoding() != ini.encoding() || again.Outline() != ini.Outline() ||
        again.Serialize() != written) {
        std::abort();
    }

    Settings defaults;
    defaults.top = 100;
    defaults.left = 200;
    defaults.height = 480;
    defaults.width = 640;
    const Settings settings = Settings::Read(ini, defaults);
    if (settings.style < 0 || settings.style >= orvane::kSchemeCount || settings.columnIndex < 0 ||
        settings.columnIndex >= orvane::kSettingsColumnCount) {
        std::abort();
    }
    if (settings.maximised && (settings.top != defaults.top || settings.left != defaults.left ||
                               settings.height != defaults.height || settings.width != defaults.width)) {
        std::abort();
    }
    // Closing writes the settings into the document as read; the next start reads them back.
    IniFile closing = ini;
    settings.Write(closing);
    if (Settings::Read(IniFile::Parse(closing.Serialize()), defaults) != settings) {
        std::abort();
    }
    return 0;
}
