// The layers under the paragraphs: bounds-checked reading, records, raw deflate.

#include <gtest/gtest.h>

#include "HwpFixture.h"
#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Inflate.h"
#include "hwp5/Record.h"

namespace tavrino::docs::hwp5 {
namespace {

using test::Bytes;
using test::record;

TEST(Records, HeaderFieldsAndExtendedSize) {
    Bytes big(5000, 0xAB);
    Bytes stream = test::join({record(66, 0, {1, 2}), record(67, 1023, big), record(16, 3, {})});
    auto records = parseRecords(stream);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].tag, 66);
    EXPECT_EQ(records[0].payload.size(), 2u);
    EXPECT_EQ(records[1].level, 1023);
    EXPECT_EQ(records[1].payload.size(), 5000u);  // 0xFFF in the header, real size after it
    EXPECT_EQ(records[1].payload[4999], 0xAB);
    EXPECT_EQ(records[2].level, 3);
    EXPECT_TRUE(records[2].payload.empty());
}

TEST(Records, SizeExactlyAtTheLimitUsesTheExtendedForm) {
    Bytes payload(0xFFF, 1);
    Bytes stream = record(67, 0, payload);
    EXPECT_EQ(stream.size(), 8u + 0xFFF);
    EXPECT_EQ(parseRecords(stream).at(0).payload.size(), 0xFFFu);
}

TEST(Records, DamageIsAnErrorNotAShortRead) {
    Bytes good = record(66, 0, {1, 2, 3, 4});
    Bytes pastEnd(good.begin(), good.end() - 1);  // payload one byte short
    EXPECT_THROW(parseRecords(pastEnd), Hwp5Error);
    Bytes halfHeader{0x42, 0x00};
    EXPECT_THROW(parseRecords(halfHeader), Hwp5Error);
    // Extended size that claims 4 GB.
    Bytes huge = test::Writer().u32(66 | (0xFFFu << 20)).u32(0xFFFFFFFF).bytes;
    EXPECT_THROW(parseRecords(huge), Hwp5Error);
    Bytes missingSize = test::Writer().u32(66 | (0xFFFu << 20)).u16(1).bytes;
    EXPECT_THROW(parseRecords(missingSize), Hwp5Error);
}

TEST(ByteReader, ReadsLittleEndianAndRefusesToOverrun) {
    Bytes data = test::Writer().u16(0x1234).u32(0xDEADBEEF).bstr(u"가A").bytes;
    ByteReader in(data);
    EXPECT_EQ(in.u16(), 0x1234);
    EXPECT_EQ(in.u32(), 0xDEADBEEFu);
    EXPECT_EQ(in.bstr(), "가A");
    EXPECT_TRUE(in.atEnd());
    EXPECT_THROW(in.u8(), Hwp5Error);
    Bytes shortString = test::Writer().u16(10).utf16(u"ab").bytes;
    ByteReader s(shortString);
    EXPECT_THROW(s.bstr(), Hwp5Error);
}

TEST(ByteReader, Utf16SurrogatesPairAndLoneOnesAreReplaced) {
    std::u16string pair = u"\xD83D\xDE00";  // U+1F600
    EXPECT_EQ(utf16ToUtf8(pair), "\xF0\x9F\x98\x80");
    std::u16string lone =
        u"a\xD800"
        u"b";
    EXPECT_EQ(utf16ToUtf8(lone),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(Inflate, RoundTripIgnoringTheTrailer) {
    Bytes plain(100000);
    for (std::size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<std::uint8_t>(i * 7);
    Bytes packed = test::deflateRaw(plain);
    // The word processor appends CRC-32 and length; zero fill follows after decryption.
    Bytes withTrailer = test::join({packed, Bytes{1, 2, 3, 4, 5, 6, 7, 8}, Bytes(16, 0)});
    EXPECT_EQ(inflateRaw(withTrailer), plain);
}

TEST(Inflate, BrokenTruncatedAndOversizedDataAreErrors) {
    Bytes plain(50000, 'x');
    Bytes packed = test::deflateRaw(plain);
    Bytes truncated(packed.begin(), packed.begin() + static_cast<long>(packed.size() / 2));
    EXPECT_THROW(inflateRaw(truncated), Hwp5Error);
    Bytes garbage{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_THROW(inflateRaw(garbage), Hwp5Error);
    EXPECT_THROW(inflateRaw({}), Hwp5Error);
    // A deflate bomb stops at the limit instead of taking the memory.
    EXPECT_THROW(inflateRaw(packed, 1000), Hwp5Error);
    EXPECT_EQ(inflateRaw(packed, plain.size()).size(), plain.size());
}

}  // namespace
}  // namespace tavrino::docs::hwp5
