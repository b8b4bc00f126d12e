// What reading the caches costs in memory, counted by this test program's own operator new: damaged
// caches made of the cheapest values are refused within a small part of their size, a genuine large cache
// costs a few bytes for each of its bytes, and running out of memory while reading is a damaged cache.
#include "store/icons/image_list_cache.h"
#include "store/list_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

namespace {

// Bytes live through operator new, their peak, and the ceiling above which allocation fails.
std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gPeak{0};
std::atomic<std::size_t> gCeiling{SIZE_MAX};

struct alignas(std::max_align_t) Header {
    std::size_t size;
};

void* Allocate(std::size_t size) noexcept {
    const std::size_t live = gLive.fetch_add(size) + size;
    void* block = live <= gCeiling.load() ? std::malloc(sizeof(Header) + size) : nullptr;
    if (block == nullptr) {
        gLive.fetch_sub(size);
        return nullptr;
    }
    std::size_t peak = gPeak.load();
    while (live > peak && !gPeak.compare_exchange_weak(peak, live)) {
    }
    static_cast<Header*>(block)->size = size;
    return static_cast<Header*>(block) + 1;
}

void* AllocateOrThrow(std::size_t size) {
    if (void* block = Allocate(size)) {
        return block;
    }
    throw std::bad_alloc();
}

void Free(void* block) noexcept {
    if (block != nullptr) {
        Header* header = static_cast<Header*>(block) - 1;
        gLive.fetch_sub(header->size);
        std::free(header);
    }
}

} // namespace

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    Free(block);
}
void operator delete[](void* block) noexcept {
    Free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    Free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    Free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Free(block);
}

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::string_view_literals;

constexpr std::size_t kMiB = std::size_t{1} << 20;

enum class Outcome { read, damaged, outOfMemory };

struct Cost {
    std::size_t peak; // bytes beyond those live before the read
    Outcome outcome;
};

// Runs one read with allocation failing beyond `ceiling` bytes more than were live before it.
template <typename Read> Cost Measure(Read read, std::size_t ceiling = 256 * kMiB) {
    const std::size_t before = gLive.load();
    gPeak.store(before);
    gCeiling.store(before + ceiling);
    Outcome outcome = Outcome::read;
    try {
        read();
    } catch (const StreamError&) {
        outcome = Outcome::damaged;
    } catch (const std::bad_alloc&) {
        outcome = Outcome::outOfMemory;
    }
    gCeiling.store(SIZE_MAX);
    return {gPeak.load() - before, outcome};
}

// About 10 MB: head, then unit again and again, then tail.
Bytes Repeated(std::string_view head, std::string_view unit, std::string_view tail) {
    Bytes bytes(head.begin(), head.end());
    while (bytes.size() < 10 * kMiB) {
        bytes.insert(bytes.end(), unit.begin(), unit.end());
    }
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

TEST(ReadMemory, CachesOfCheapValuesAreRefusedWithoutBigMemory) {
    // One property "P" of the list view holding each value, and a list view of empty children.
    const auto head = "TPF0\x09TListView\x08ListView\x01P"sv;
    const std::vector<Bytes> damaged = {
        Repeated(std::string(head) + "\x01", "\x0D"sv, "\x00\x00\x00"sv),     // list of nils
        Repeated(std::string(head) + "\x0B", "\x01x"sv, "\x00\x00\x00"sv),    // set of one-letter members
        Repeated(std::string(head) + "\x0E", "\x01\x00"sv, "\x00\x00\x00"sv), // collection of empty items
        Repeated(std::string(head) + "\x0E\x01", "\x01p\x0D"sv,
                 "\x00\x00\x00\x00"sv), // one item, nil properties
        Repeated("TPF0\x09TListView\x08ListView\x00"sv, "\x01T\x00\x00\x00"sv, "\x00"sv), // empty children
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const Bytes& bytes = damaged[i];
        const Cost list = Measure([&] { ReadListCache(bytes, ListCache{}); });
        EXPECT_EQ(list.outcome, Outcome::damaged) << "case " << i;
        // The program's reader of "File.lst" costs far less than the file's own size.
        EXPECT_LT(list.peak, 8 * kMiB) << "case " << i;
        for (auto read : {+[](const Bytes& b) { ReadComponentStream(b); },
                          +[](const Bytes& b) { ReadComponentStreamInPlace(b); },
                          +[](const Bytes& b) { ReadImageListCacheView(b, ImageListCache{}); }}) {
            const Cost cost = Measure([&] { read(bytes); });
            EXPECT_EQ(cost.outcome, Outcome::damaged) << "case " << i;
            EXPECT_LT(cost.peak, 8 * kMiB) << "case " << i;
        }
    }
}

ListCache LargeList() {
    ListCache list;
    list.columns = {{L"Name", 200, ColumnAlignment::taLeftJustify},
                    {L"Path", 300, ColumnAlignment::taLeftJustify}};
    list.smallImages = "ImageListS";
    list.largeImages = "ImageListL";
    for (int i = 0; i < 10'000; ++i) {
        const std::wstring n = std::to_wstring(i);
        ShortcutRow row;
        row.caption = L"Shortcut number " + n;
        row.imageIndex = i % 500;
        row.subItems = {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Vendor " + n +
                            L"\\Tools and utilities\\Shortcut number " + n + L".lnk",
                        L"C:\\Program Files\\Vendor " + n + L"\\bin\\program" + n + L".exe",
                        std::wstring(300, static_cast<wchar_t>(L'a' + i % 26)) + n,
                        L"2024/01/02 03:04",
                        L"2023/12/31 23:59",
                        L"10.0.19041." + n};
        list.rows.push_back(std::move(row));
    }
    return list;
}

TEST(ReadMemory, AGenuineLargeCacheCostsAFewBytesAByte) {
    const ListCache list = LargeList();
    const Bytes bytes = WriteListCache(list);
    ASSERT_GT(bytes.size(), 10 * kMiB);
    ListCache back;
    const Cost cost = Measure([&] { back = ReadListCache(bytes, ListCache{}); });
    ASSERT_EQ(cost.outcome, Outcome::read);
    EXPECT_EQ(back, list);
    // The rows take about one and a half times their bytes where wchar_t is 32 bits wide, and are
    // decoded from the file's bytes where they lie, not from a copy.
    EXPECT_LT(cost.peak, 2 * bytes.size()) << cost.peak << " for " << bytes.size();

    // The pictures of an icon cache are read where they lie, or copied once.
    ImageListCache icons;
    icons.bitmap.assign(16 * kMiB, 0x5A);
    const Bytes iconBytes = WriteImageListCache(icons);
    const Cost inPlace = Measure([&] { ReadImageListCacheView(iconBytes, ImageListCache{}); });
    EXPECT_EQ(inPlace.outcome, Outcome::read);
    EXPECT_LT(inPlace.peak, 64 * 1024u);
    ImageListCache copied;
    const Cost copy = Measure([&] { copied = ReadImageListCache(iconBytes, ImageListCache{}); });
    EXPECT_EQ(copy.outcome, Outcome::read);
    EXPECT_EQ(copied, icons);
    EXPECT_LT(copy.peak, iconBytes.size() + 64 * 1024u);
}

TEST(ReadMemory, RunningOutOfMemoryWhileReadingIsADamagedCache) {
    const ListCache list = LargeList();
    const Bytes bytes = WriteListCache(list);
    const Bytes itemData = EncodeItemData(list.rows);
    ImageListCache icons;
    icons.bitmap.assign(100'000, 0x5A);
    const Bytes iconBytes = WriteImageListCache(icons);
    // The reads get a few hundred bytes: enough for the error's text once the tree is gone, not for a
    // cache.
    constexpr std::size_t kLittle = 512;
    EXPECT_EQ(Measure([&] { ReadListCache(bytes, ListCache{}); }, kLittle).outcome, Outcome::damaged);
    EXPECT_EQ(Measure([&] { DecodeItemData(itemData); }, kLittle).outcome, Outcome::damaged);
    EXPECT_EQ(Measure([&] { ReadComponentStream(bytes); }, kLittle).outcome, Outcome::damaged);
    EXPECT_EQ(Measure([&] { ReadComponentStreamInPlace(bytes); }, kLittle).outcome, Outcome::damaged);
    EXPECT_EQ(Measure([&] { ReadImageListCache(iconBytes, ImageListCache{}); }, kLittle).outcome,
              Outcome::damaged);
    EXPECT_EQ(Measure([&] { ReadImageListCacheView(iconBytes, ImageListCache{}); }, kLittle).outcome,
              Outcome::damaged);
    // With room the same reads succeed.
    EXPECT_EQ(Measure([&] { ReadListCache(bytes, ListCache{}); }).outcome, Outcome::read);
}

} // namespace
} // namespace orvane
