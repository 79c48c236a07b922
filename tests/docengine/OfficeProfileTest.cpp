// The version record we put into LibreOffice's profile: read from the installation, written so
// that LibreOffice's own settings survive and a file we do not understand is left alone.
#include "pdf/OfficeProfile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tavrino::docs {
namespace {
namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class OfficeProfileTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("tavrino-profile-test-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "profile" / "user");
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path settings() const { return folder / "profile" / "user" / "registrymodifications.xcu"; }
    void writeSettings(const std::string& text) const {
        std::ofstream(settings(), std::ios::binary) << text;
    }
    fs::path installation(const std::string& xcd) const {
        const fs::path registry = folder / "office" / "share" / "registry";
        fs::create_directories(registry);
        fs::create_directories(folder / "office" / "program");
        std::ofstream(registry / "main.xcd", std::ios::binary) << xcd;
        return folder / "office" / "program";
    }

    fs::path folder;
};

constexpr const char* kItem = R"(<item oor:path="/org.openoffice.Setup/Product"><prop )"
                              R"(oor:name="ooSetupLastVersion" oor:op="fuse"><value>)";

TEST_F(OfficeProfileTest, TheVersionComesFromTheProductDataNotTheSchema) {
    // The schema's declaration comes first and has an empty value; the product's data follows.
    const fs::path program = installation(
        R"(<prop oor:name="ooSetupVersion" oor:type="xs:string" oor:nillable="false">)"
        "\n  <value/>\n</prop><prop oor:name=\"ooSetupLastVersion\" oor:type=\"xs:string\"/>"
        "<prop oor:name=\"ooSetupVersion\">\n  <value>7.4</value>\n</prop>"
        "<prop oor:name=\"ooSetupVersionAboutBox\"><value>7.4.7.2</value></prop>");
    EXPECT_EQ(officeVersion(program), "7.4");

    // No installation, no data, or a value that is not a version: nothing to record.
    EXPECT_EQ(officeVersion(folder / "nowhere" / "program"), "");
    EXPECT_EQ(officeVersion({}), "");
    EXPECT_EQ(officeVersion(installation(R"(<prop oor:name="ooSetupVersion"></prop>)"
                                         "<prop><value>7.4</value></prop>")),
              "");
    EXPECT_EQ(officeVersion(installation(
                  R"(<prop oor:name="ooSetupVersion"><value>7.4"/><x a="</value></prop>)")),
              "");
}

TEST_F(OfficeProfileTest, ANewProfileGetsASettingsFileWithTheVersion) {
    fs::remove_all(folder / "profile");
    markProfileCurrent(folder / "profile", "7.4");
    const std::string text = readAll(settings());
    EXPECT_EQ(count(text, std::string(kItem) + "7.4</value></prop></item>"), 1u);
    EXPECT_NE(text.find("<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\""),
              std::string::npos);
    EXPECT_EQ(text.rfind("</oor:items>\n"), text.size() - 13);
    EXPECT_FALSE(fs::exists(settings().string() + ".tavrino-new"));
}

TEST_F(OfficeProfileTest, LibreOfficesSettingsStayAndTheVersionIsRecordedOnce) {
    const std::string before =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<oor:items xmlns:oor=\"x\">\n"
        R"(<item oor:path="/org.openoffice.Office.Common/Misc"><prop oor:name="FirstRun" )"
        R"(oor:op="fuse"><value>false</value></prop></item>)"
        "\n</oor:items>\n";
    writeSettings(before);
    markProfileCurrent(folder / "profile", "7.4");
    markProfileCurrent(folder / "profile", "7.4");
    const std::string after = readAll(settings());
    EXPECT_NE(after.find(R"(oor:name="FirstRun" oor:op="fuse"><value>false)"), std::string::npos);
    EXPECT_EQ(count(after, "ooSetupLastVersion"), 1u);
    // Everything LibreOffice wrote is there, byte for byte, around the one new item.
    const std::size_t close = before.rfind("</oor:items>");
    EXPECT_EQ(after.substr(0, close), before.substr(0, close));
    EXPECT_EQ(after.substr(after.rfind("</oor:items>")), before.substr(close));

    // After an upgrade the older record is replaced, not joined by a second.
    markProfileCurrent(folder / "profile", "24.2");
    const std::string upgraded = readAll(settings());
    EXPECT_EQ(count(upgraded, "ooSetupLastVersion"), 1u);
    EXPECT_NE(upgraded.find(std::string(kItem) + "24.2</value></prop></item>"), std::string::npos);
    EXPECT_NE(upgraded.find("FirstRun"), std::string::npos);
}

TEST_F(OfficeProfileTest, ASettingsFileWeDoNotUnderstandOrABadVersionIsLeftAlone) {
    const std::string truncated = "<?xml version=\"1.0\"?>\n<oor:items><item oor:path=\"/a\">";
    writeSettings(truncated);
    markProfileCurrent(folder / "profile", "7.4");
    EXPECT_EQ(readAll(settings()), truncated);

    const std::string sound = "<oor:items>\n</oor:items>\n";
    writeSettings(sound);
    markProfileCurrent(folder / "profile", "7.4</value><x>");
    markProfileCurrent(folder / "profile", "");
    EXPECT_EQ(readAll(settings()), sound);
}

std::string versionData(const std::string& version) {
    return R"(<prop oor:name="ooSetupVersion"><value>)" + version + "</value></prop>";
}

// Gives `path` the modification time `seconds` after the epoch.
void setTime(const fs::path& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST_F(OfficeProfileTest, TheRememberedVersionHoldsUntilTheInstallationChanges) {
    const fs::path cache = folder / "version";
    const fs::path program = installation(versionData("7.4"));
    const fs::path xcd = folder / "office" / "share" / "registry" / "main.xcd";
    setTime(xcd, 1'700'000'000);
    EXPECT_EQ(officeVersionCached(program, cache), "7.4");
    ASSERT_TRUE(fs::exists(cache));

    // Same size and time: the answer comes from the cache, not from the file (whose value we
    // changed behind its back to tell the two apart).
    std::ofstream(xcd, std::ios::binary | std::ios::trunc) << versionData("7.5");
    setTime(xcd, 1'700'000'000);
    EXPECT_EQ(officeVersionCached(program, cache), "7.4");

    // An upgrade touches the file: read afresh, and the new answer is remembered.
    setTime(xcd, 1'700'000'100);
    EXPECT_EQ(officeVersionCached(program, cache), "7.5");
    std::ofstream(xcd, std::ios::binary | std::ios::trunc) << versionData("7.5");
    setTime(xcd, 1'700'000'100);
    EXPECT_EQ(officeVersionCached(program, cache), "7.5");

    // A change of size alone (same time) is seen too.
    std::ofstream(xcd, std::ios::binary | std::ios::trunc) << versionData("24.2");
    setTime(xcd, 1'700'000'100);
    EXPECT_EQ(officeVersionCached(program, cache), "24.2");

    // Another installation with a file just like it is not answered from this one's entry.
    const fs::path other = folder / "other";
    fs::create_directories(other / "share" / "registry");
    fs::create_directories(other / "program");
    std::ofstream(other / "share" / "registry" / "main.xcd", std::ios::binary)
        << versionData("25.2");
    setTime(other / "share" / "registry" / "main.xcd", 1'700'000'100);
    EXPECT_EQ(officeVersionCached(other / "program", cache), "25.2");
}

TEST_F(OfficeProfileTest, ABrokenCacheOrNoInstallationIsNeverTakenAsAVersion) {
    const fs::path cache = folder / "version";
    const fs::path program = installation(versionData("7.4"));
    // A cache cut short or with garbage after the key: the file is read again.
    EXPECT_EQ(officeVersionCached(program, cache), "7.4");
    std::string text = readAll(cache);
    text.replace(text.rfind("7.4"), 3, "x\"/>");
    std::ofstream(cache, std::ios::binary | std::ios::trunc) << text;
    EXPECT_EQ(officeVersionCached(program, cache), "7.4");
    std::ofstream(cache, std::ios::binary | std::ios::trunc) << "";
    EXPECT_EQ(officeVersionCached(program, cache), "7.4");

    // The installation gone: nothing, even though an answer was remembered for it.
    fs::remove_all(folder / "office");
    EXPECT_EQ(officeVersionCached(program, cache), "");
    // No cache file to use: the same answer as reading the file each time.
    EXPECT_EQ(officeVersionCached(installation(versionData("7.6")), {}), "7.6");
}

}  // namespace
}  // namespace tavrino::docs
