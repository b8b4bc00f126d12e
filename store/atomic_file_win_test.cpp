#include "store/atomic_file_win.h"

#include "store/ansi_code_page_win.h"
#include "store/ini_file.h"
#include "system/com_error_win.h"
#include "system/handles_win.h"
#include "tests/support/test_support_win.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::TempDir;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(name);
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    return names;
}

TEST(AtomicFile, ReplacesTheOldFileAndLeavesNothingElse) {
    TempDir dir;
    const std::wstring path = dir / L"File.lst";
    WriteFileAtomically(path, Bytes("first version, longer than the second"));
    EXPECT_EQ(ReadWholeFile(path), Bytes("first version, longer than the second"));
    WriteFileAtomically(path, Bytes("second"));
    EXPECT_EQ(ReadWholeFile(path), Bytes("second"));
    EXPECT_EQ(Names(dir.path()), (std::vector<std::wstring>{L"File.lst"}));

    WriteFileAtomically(path, {});
    EXPECT_TRUE(ReadWholeFile(path).empty());
}

TEST(AtomicFile, LargeContentIsWrittenAndReadWhole) {
    TempDir dir;
    const std::wstring path = dir / L"big.bin";
    std::vector<std::uint8_t> bytes(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 131) ^ (i >> 11));
    }
    WriteFileAtomically(path, bytes);
    EXPECT_EQ(ReadWholeFile(path), bytes);
}

TEST(AtomicFile, MissingFolderIsReportedWithThePath) {
    TempDir dir;
    const std::wstring path = dir / L"missing\\Orvane.ini";
    try {
        WriteFileAtomically(path, Bytes("x"));
        FAIL() << "the write reported success";
    } catch (const ComError& error) {
        EXPECT_EQ(error.hr(), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
        EXPECT_NE(std::string(error.what()).find("missing\\Orvane.ini"), std::string::npos) << error.what();
    }
    EXPECT_TRUE(Names(dir.path()).empty());
}

TEST(AtomicFile, LockedTargetKeepsItsContentAndNoTemporaryFileStays) {
    TempDir dir;
    const std::wstring path = dir / L"Find.lst";
    test::WriteFileBytes(path, "old content");
    bool failed = false;
    {
        // Another program holds the file open without allowing it to be deleted or renamed over.
        UniqueFile lock(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(static_cast<bool>(lock));
        try {
            WriteFileAtomically(path, Bytes("new content"));
        } catch (const ComError& error) {
            failed = true;
            EXPECT_TRUE(FAILED(error.hr()));
        }
    }
    if (!failed && test::IsRunningOnWine()) {
        GTEST_SKIP() << "Wine moves a file over one that is open without FILE_SHARE_DELETE; Windows refuses";
    }
    EXPECT_TRUE(failed) << "the write reported success";
    EXPECT_EQ(test::ReadFileBytes(path), "old content");
    EXPECT_EQ(Names(dir.path()), (std::vector<std::wstring>{L"Find.lst"}));
}

TEST(AtomicFile, ReadingAMissingFileIsAnError) {
    TempDir dir;
    try {
        ReadWholeFile(dir / L"none.lst");
        FAIL() << "reading a missing file reported success";
    } catch (const ComError& error) {
        EXPECT_EQ(error.hr(), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    }
    // A file another handle has open for writing can still be read.
    const std::wstring path = dir / L"open.lst";
    test::WriteFileBytes(path, "abc");
    UniqueFile writer(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(static_cast<bool>(writer));
    EXPECT_EQ(ReadWholeFile(path), Bytes("abc"));
}

TEST(AnsiCodePage, ConvertsBothWaysInTheSystemCodePage) {
    EXPECT_EQ(DecodeAnsi("Orvane 1.0"), L"Orvane 1.0");
    EXPECT_EQ(EncodeAnsi(L"Orvane 1.0"), "Orvane 1.0");
    EXPECT_EQ(DecodeAnsi(""), L"");
    // A character of the code page's upper half, whichever code page it is.
    CPINFOEXW info{};
    ASSERT_TRUE(::GetCPInfoExW(CP_ACP, 0, &info));
    std::string upper;
    for (int b = 0xA1; b <= 0xFE && upper.empty(); ++b) {
        char c = static_cast<char>(b);
        if (info.MaxCharSize == 1 || !::IsDBCSLeadByte(static_cast<BYTE>(b))) {
            upper.assign(1, c);
        }
    }
    ASSERT_FALSE(upper.empty());
    std::wstring text = DecodeAnsi(upper);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_GE(static_cast<unsigned>(text[0]), 0x80u);
    EXPECT_EQ(EncodeAnsi(text), upper);

    // An ini file without a byte-order mark goes through the code page both ways.
    IniFile ini = IniFile::Parse(Bytes("[S]\r\nK=" + upper + "\r\n"), SystemAnsiCodec());
    EXPECT_EQ(ini.ReadString(L"S", L"K", L""), text);
    EXPECT_EQ(ini.Serialize(), Bytes("[S]\r\nK=" + upper + "\r\n"));
}

} // namespace
} // namespace orvane
