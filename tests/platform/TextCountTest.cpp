#include "platform/TextCount.h"

#include <gtest/gtest.h>

using namespace tavrino;

// Notes such as "1234자" count what a reader sees, not bytes or code points.
TEST(TextCount, CountsWhatAReaderSeesAsCharacters) {
    EXPECT_EQ(countCharacters(""), 0U);
    EXPECT_EQ(countCharacters("한글 A"), 4U);
    EXPECT_EQ(countCharacters("e\u0301"), 1U);                     // e + combining accent
    EXPECT_EQ(countCharacters("\u1112\u1161\u11AB"), 1U);          // 한 as jamo
    EXPECT_EQ(countCharacters("a\r\nb"), 3U);                      // CR LF is one line break
    EXPECT_EQ(countCharacters("\U0001F469\u200D\U0001F4BB"), 1U);  // joined emoji
    EXPECT_EQ(countCharacters("a\n\nb"), 4U);
}
