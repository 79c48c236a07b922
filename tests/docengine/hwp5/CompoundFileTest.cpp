// The compound file container: reading streams through libgsf, and refusing damaged
// containers before libgsf sees them.

#include <gtest/gtest.h>

#include <cstring>

#include "HwpFixture.h"
#include "hwp5/CompoundFile.h"
#include "hwp5/CompoundFileCheck.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {
namespace {

using test::Bytes;

std::uint32_t u32At(const Bytes& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
void setU32(Bytes& b, std::size_t at, std::uint32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

// Byte offset of FAT entry `index` in a version 3 file (512-byte sectors).
std::size_t fatEntryOffset(const Bytes& file, std::uint32_t index) {
    std::uint32_t fatSector = u32At(file, 0x4C + 4 * (index / 128));
    return (fatSector + 1) * 512u + 4 * (index % 128);
}

Bytes sample() {
    Bytes big(20000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i);
    return test::compoundFile({{"Small", {1, 2, 3}}, {"Dir/Big", big}, {"Dir/Empty", {}}});
}

TEST(CompoundFile, ReadsStreamsCaseInsensitively) {
    auto file = CompoundFile::openBytes(sample());
    EXPECT_TRUE(file.hasStream("Small"));
    EXPECT_TRUE(file.hasStream("dir/BIG"));
    EXPECT_FALSE(file.hasStream("Dir"));  // a storage is not a stream
    EXPECT_FALSE(file.read("Missing").has_value());
    EXPECT_EQ(*file.read("Small"), (Bytes{1, 2, 3}));
    auto big = file.read("Dir/Big");
    ASSERT_TRUE(big);
    ASSERT_EQ(big->size(), 20000u);
    EXPECT_EQ((*big)[12345], static_cast<std::uint8_t>(12345));
    EXPECT_TRUE(file.read("Dir/Empty")->empty());
    auto names = file.children("Dir");
    EXPECT_EQ(names.size(), 2u);
}

TEST(CompoundFile, NotACompoundFile) {
    Bytes text(2048, 'a');
    EXPECT_THROW(CompoundFile::openBytes(text), Hwp5Error);
    EXPECT_THROW(CompoundFile::openBytes({}), Hwp5Error);
}

TEST(CompoundFile, TruncatedFileIsRefused) {
    Bytes file = sample();
    for (std::size_t keep : {std::size_t{512}, file.size() / 2, file.size() - 512}) {
        Bytes cut(file.begin(), file.begin() + static_cast<long>(keep));
        EXPECT_THROW(CompoundFile::openBytes(cut), Hwp5Error) << keep;
    }
}

TEST(CompoundFile, CycleInTheSectorChainIsRefused) {
    Bytes file = sample();
    // The big stream occupies a run of sectors k -> k+1 -> ... -> end; point its end back.
    std::uint32_t fatEntries = 128 * u32At(file, 0x2C);
    bool made = false;
    for (std::uint32_t i = 1; i < fatEntries && !made; ++i) {
        if (u32At(file, fatEntryOffset(file, i)) == 0xFFFFFFFE &&
            u32At(file, fatEntryOffset(file, i - 1)) == i) {
            setU32(file, fatEntryOffset(file, i), i - 1);
            made = true;
        }
    }
    ASSERT_TRUE(made);
    EXPECT_THROW(checkCompoundFile(file), Hwp5Error);
    EXPECT_THROW(CompoundFile::openBytes(file), Hwp5Error);
}

TEST(CompoundFile, SectorPastTheEndAndLoopingDirectoryAreRefused) {
    Bytes pastEnd = sample();
    setU32(pastEnd, 0x30, 100000);  // first directory sector
    EXPECT_THROW(CompoundFile::openBytes(pastEnd), Hwp5Error);

    Bytes loop = sample();
    std::size_t root = (u32At(loop, 0x30) + 1) * 512u;
    std::uint32_t child = u32At(loop, root + 76);
    // The root's child points its left sibling back at itself.
    setU32(loop, root + 128 * child + 68, child);
    EXPECT_THROW(CompoundFile::openBytes(loop), Hwp5Error);
}

TEST(CompoundFile, StreamLargerThanItsChainIsRefused) {
    Bytes file = sample();
    std::size_t dir = (u32At(file, 0x30) + 1) * 512u;
    for (std::size_t e = dir; e < dir + 512; e += 128) {
        if (file[e + 66] == 2 && u32At(file, e + 120) == 20000) setU32(file, e + 120, 900000);
    }
    EXPECT_THROW(CompoundFile::openBytes(file), Hwp5Error);
}

}  // namespace
}  // namespace tavrino::docs::hwp5
