// Reading the uri-lists that drag sources hand over.

#include <gtest/gtest.h>

#include <random>

#include "drag/UriList.h"

namespace tavrino {
namespace {

using Paths = std::vector<std::filesystem::path>;

TEST(UriList, ReadsCrlfSeparatedFileUrlsInOrder) {
    EXPECT_EQ(fileUrlsFromUriList("file:///tmp/b.png\r\nfile:///tmp/a.jpg\r\n"),
              (Paths{"/tmp/b.png", "/tmp/a.jpg"}));
}

TEST(UriList, AcceptsBareLineFeedsAndAMissingFinalBreak) {
    EXPECT_EQ(fileUrlsFromUriList("file:///a.png\nfile:///b.png"), (Paths{"/a.png", "/b.png"}));
}

TEST(UriList, DecodesSpacesAndKoreanNames) {
    // "보고서 1.hwp" as GTK writes it: UTF-8 bytes, each percent-encoded.
    const auto files = fileUrlsFromUriList(
        "file:///home/u/%EB%B3%B4%EA%B3%A0%EC%84%9C%201.hwp\r\n"
        "file:///home/u/100%25%20done.PNG\r\n");
    EXPECT_EQ(files, (Paths{"/home/u/보고서 1.hwp", "/home/u/100% done.PNG"}));
}

TEST(UriList, SkipsCommentsBlankLinesAndOtherSchemes) {
    EXPECT_EQ(fileUrlsFromUriList("# from a test\r\n\r\nhttps://example.org/a.png\r\n"
                                  "smb://server/share/b.png\r\nfile:///c.png\r\n"),
              Paths{"/c.png"});
}

TEST(UriList, AcceptsThisHostButNotOthers) {
    EXPECT_EQ(pathFromFileUrl("file://localhost/tmp/a.png"), std::filesystem::path("/tmp/a.png"));
    EXPECT_EQ(pathFromFileUrl("FILE:///tmp/a.png"), std::filesystem::path("/tmp/a.png"));
    EXPECT_EQ(pathFromFileUrl("file://fileserver.example/tmp/a.png"), std::nullopt);
}

TEST(UriList, RefusesBrokenEscapesAndEscapedNul) {
    EXPECT_EQ(pathFromFileUrl("file:///tmp/a%2"), std::nullopt);
    EXPECT_EQ(pathFromFileUrl("file:///tmp/a%zz.png"), std::nullopt);
    EXPECT_EQ(pathFromFileUrl("file:///tmp/a%00.png"), std::nullopt);
    EXPECT_EQ(pathFromFileUrl("file:"), std::nullopt);
    EXPECT_EQ(pathFromFileUrl("file://"), std::nullopt);
    // One bad line costs only itself.
    EXPECT_EQ(fileUrlsFromUriList("file:///x%2\r\nfile:///y.png\r\n"), Paths{"/y.png"});
}

TEST(UriList, DropsQueryAndFragment) {
    EXPECT_EQ(pathFromFileUrl("file:///tmp/a.png?x=1"), std::filesystem::path("/tmp/a.png"));
    EXPECT_EQ(pathFromFileUrl("file:///tmp/a%23b.png#frag"), std::filesystem::path("/tmp/a#b.png"));
}

TEST(UriList, TextWithoutUrlsGivesNothing) {
    EXPECT_TRUE(fileUrlsFromUriList("just some dragged text").empty());
    EXPECT_TRUE(fileUrlsFromUriList("").empty());
}

TEST(UriList, ArbitraryBytesGiveOnlyAbsolutePathsWithoutNul) {
    // What a drag source puts in its selection is anyone's guess.
    std::mt19937 random(20261206);
    const std::string pieces[] = {"file://", "/",      "%",         "%0",   "%00",
                                  "%2F",     "%e2%82", "\r\n",      "\n",   "#",
                                  "?",       "a",      "localhost", "\xff", std::string(1, '\0')};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % std::size(pieces)];
        for (const auto& path : fileUrlsFromUriList(text)) {
            ASSERT_TRUE(path.is_absolute()) << text;
            ASSERT_EQ(path.string().find('\0'), std::string::npos) << text;
        }
    }
}

}  // namespace
}  // namespace tavrino
