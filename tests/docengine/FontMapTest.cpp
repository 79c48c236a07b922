// The font map: the kind each Korean face is given, and that fontconfig, reading our file,
// really resolves missing faces to installed fonts of that kind while leaving installed faces
// alone.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "pdf/FontMap.h"

namespace tavrino::docs {
namespace {
namespace fs = std::filesystem;

TEST(FontMapTest, KoreanFacesGetTheKindTheirNamesSay) {
    for (const char* face : {"함초롬바탕", "한컴바탕", "바탕", "휴먼명조", "HY견명조", "HY신명조",
                             "Batang", "신명 세명조"})
        EXPECT_EQ(fontKind(face), FontKind::serif) << face;
    for (const char* face : {"함초롬돋움", "돋움", "굴림", "맑은 고딕", "HY헤드라인M",
                             "한컴 윤고딕 230", "Malgun Gothic", "새굴림"})
        EXPECT_EQ(fontKind(face), FontKind::sans) << face;
    for (const char* face : {"궁서", "궁서체", "HY궁서B"})
        EXPECT_EQ(fontKind(face), FontKind::brush) << face;
    // A coding face is monospaced even though its name also says 고딕.
    for (const char* face : {"나눔고딕코딩", "Courier New", "D2Coding"})
        EXPECT_EQ(fontKind(face), FontKind::mono) << face;
    EXPECT_EQ(fontKind("Something Unheard Of"), FontKind::sans);
}

class FontconfigTest : public testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v fc-match >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "fontconfig's fc-match is not installed";
        conf =
            fs::temp_directory_path() / ("tavrino-fonts-" + std::to_string(::getpid()) + ".conf");
        std::ofstream(conf) << fontconfigFile();
    }
    void TearDown() override { fs::remove(conf); }

    // fc-match's family for `face` under our file ("" when it fails).
    std::string match(const std::string& face, const std::string& format = "%{family[0]}") {
        const std::string command = "FONTCONFIG_FILE='" + conf.string() + "' fc-match -f '" +
                                    format + "' '" + face + "' 2>/dev/null";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            std::array<char, 256> buffer{};
            while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr)
                out += buffer.data();
            ::pclose(pipe);
        }
        return out;
    }
    bool installed(const std::string& family) { return match(family) == family; }

    fs::path conf;
};

TEST_F(FontconfigTest, MissingKoreanFacesResolveToAnInstalledFontOfTheirKind) {
    if (!installed("Noto Serif CJK KR") || !installed("Noto Sans CJK KR"))
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    EXPECT_EQ(match("함초롬바탕"), "Noto Serif CJK KR");
    EXPECT_EQ(match("HY견명조"), "Noto Serif CJK KR");
    EXPECT_EQ(match("함초롬돋움"), "Noto Sans CJK KR");
    EXPECT_EQ(match("맑은 고딕"), "Noto Sans CJK KR");
    EXPECT_EQ(match("굴림"), "Noto Sans CJK KR");
    // Whatever we pick must draw Hangul: its character set covers 가 (U+AC00).
    EXPECT_NE(match("한컴바탕", "%{charset}").find("ac00"), std::string::npos);
}

TEST_F(FontconfigTest, InstalledFacesAreUsedAsAsked) {
    if (!installed("NanumGothicCoding")) GTEST_SKIP() << "fonts-nanum is not installed";
    // Its name holds 고딕 and Coding; being installed, it must not be replaced.
    EXPECT_EQ(match("NanumGothicCoding"), "NanumGothicCoding");
    EXPECT_EQ(match("NanumMyeongjo"), "NanumMyeongjo");
}

}  // namespace
}  // namespace tavrino::docs
