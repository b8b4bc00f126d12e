#include "catalogue/link_walk.h"

namespace orvane {
namespace {

void Walk(const std::wstring& folder, const DirLister& list, std::vector<std::wstring>& out) {
    for (const DirEntry& entry : list(folder)) {
        if (entry.isDirectory) {
            if (entry.name != L"." && entry.name != L"..") {
                Walk(JoinPath(folder, entry.name), list, out);
            }
        } else if (IsLinkFileName(entry.name)) {
            out.push_back(JoinPath(folder, entry.name));
        }
    }
}

} // namespace

bool IsLinkFileName(std::wstring_view name) {
    constexpr std::wstring_view extension = L".lnk";
    if (name.size() < extension.size()) {
        return false;
    }
    std::wstring_view tail = name.substr(name.size() - extension.size());
    for (std::size_t i = 0; i < extension.size(); ++i) {
        wchar_t c = tail[i];
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
        if (c != extension[i]) {
            return false;
        }
    }
    return true;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    if (!path.empty() && path.back() != L'\\') {
        path += L'\\';
    }
    path += name;
    return path;
}

std::vector<std::wstring> CollectLinkFiles(const std::wstring& folder, const DirLister& list) {
    std::vector<std::wstring> files;
    Walk(folder, list, files);
    return files;
}

bool IsScannableFolder(std::wstring_view folder) {
    return !folder.empty() && folder != L"\\";
}

} // namespace orvane
