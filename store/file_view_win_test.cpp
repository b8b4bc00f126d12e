#include "store/file_view_win.h"

#include "system/com_error_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace orvane {
namespace {

std::string Text(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(FileView, GivesTheWholeFileMappedOrReadAndRefusesAMissingOne) {
    test::TempDir folder;
    const std::wstring path = folder / L"IconS.lst";
    std::string content(3 * 65536 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7);
    }
    test::WriteFileBytes(path, content);
    // A part read through the view is those bytes of the file; a part elsewhere is refused.
    auto readPart = [&](const FileView& view) {
        const auto part = view.bytes().subspan(65536 + 3, 70000);
        std::vector<std::uint8_t> buffer(part.size());
        view.Read(part, buffer);
        EXPECT_EQ(Text(buffer), content.substr(65536 + 3, 70000));
        const std::vector<std::uint8_t> elsewhere(8);
        EXPECT_THROW(view.Read(elsewhere, buffer), std::out_of_range);
        const std::span<const std::uint8_t> pastTheEnd(view.bytes().data() + view.bytes().size() - 4, 8);
        EXPECT_THROW(view.Read(pastTheEnd, buffer), std::out_of_range);
    };
    {
        FileView view(path);
        EXPECT_EQ(Text(view.bytes()), content);
        readPart(view);
        // While the bytes are looked at in place, nobody writes the file.
        UniqueFile writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(writer);
    }
    {
        // A file another program holds open for writing is read as before.
        UniqueFile writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        FileView view(path);
        EXPECT_EQ(Text(view.bytes()), content);
        readPart(view);
    }
    const std::wstring empty = folder / L"empty.lst";
    test::WriteFileBytes(empty, "");
    EXPECT_TRUE(FileView(empty).bytes().empty());
    EXPECT_THROW(FileView(folder / L"missing.lst"), ComError);
}

} // namespace
} // namespace orvane
