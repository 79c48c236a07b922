// The file-manager actions: that they offer what the wheel offers, that installing them keeps
// the user's own actions, and that an installed action run the way the file manager runs it
// writes the result beside the file and notifies the outcome.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "actions/ActionCatalog.h"
#include "actions/ActionFiles.h"
#include "actions/ActionInstall.h"
#include "menu/MenuRules.h"
#include "platform/WholeFile.h"
#include "support/Process.h"
#include "support/TestFiles.h"

namespace tavrino {
namespace {

namespace fs = std::filesystem;

const FileAction* actionNamed(const std::vector<FileAction>& actions, const std::string& spelling) {
    for (const auto& action : actions) {
        if (action.spelling == spelling) return &action;
    }
    return nullptr;
}

bool offers(const FileAction& action, const std::string& extension) {
    return std::find(action.extensions.begin(), action.extensions.end(), extension) !=
           action.extensions.end();
}

TEST(FileActionCatalog, EveryPetalOfTheWheelIsReachableForItsFileKind) {
    const auto actions = fileActions();
    for (const std::string extension : {"jpg", "png", "pdf", "docx", "hwpx", "hwp"}) {
        const std::vector<fs::path> one{"sample." + extension};
        for (const MenuKind kind : {MenuKind::convert, MenuKind::tools}) {
            for (const WheelItem& item : menuItems(one, kind)) {
                const std::string entry = std::holds_alternative<ToolItem>(item)
                                              ? spelling(item)
                                              : "common(" + *targetExtension(item) + ")";
                const FileAction* action = actionNamed(actions, entry);
                ASSERT_NE(action, nullptr) << spelling(item) << " for ." << extension;
                EXPECT_TRUE(offers(*action, extension)) << entry << " for ." << extension;
            }
        }
    }
}

TEST(FileActionCatalog, NothingIsOfferedThatTheWheelWouldNot) {
    const auto actions = fileActions();
    // A PNG is already a PNG; a JPEG is not text to be exported; a document is not rotated.
    EXPECT_FALSE(offers(*actionNamed(actions, "common(png)"), "png"));
    EXPECT_FALSE(offers(*actionNamed(actions, "common(txt)"), "jpg"));
    EXPECT_FALSE(offers(*actionNamed(actions, "tool(rotate)"), "hwp"));
    // Header-probed images get the image conversions.
    EXPECT_TRUE(offers(*actionNamed(actions, "common(png)"), "gif"));
}

TEST(FileActionCatalog, LabelsAndIdsAreUniqueSoNoEntryHidesAnother) {
    // Nautilus names a script by its label: two petals with one label would lose one.
    std::set<std::string> labels, ids;
    for (const auto& action : fileActions()) {
        EXPECT_TRUE(labels.insert(action.label).second) << action.label;
        EXPECT_TRUE(ids.insert(action.id).second) << action.id;
        EXPECT_EQ(action.label.find('/'), std::string::npos);
        EXPECT_FALSE(action.extensions.empty()) << action.spelling;
    }
    EXPECT_TRUE(labels.contains("PDF로 변환"));
    EXPECT_TRUE(labels.contains("PDF 합치기"));
}

TEST(FileActionQuoting, SurvivesSpacesQuotesAndDollars) {
    EXPECT_EQ(shellQuoted("a b"), "'a b'");
    EXPECT_EQ(shellQuoted("it's"), "'it'\\''s'");
    // Desktop entries: quoted for Exec, then backslashes doubled for the key file.
    EXPECT_EQ(execQuoted("/opt/my apps/$x"), "\"/opt/my apps/\\\\$x\"");
    const auto result = test::runProgram({"sh", "-c", "printf %s " + shellQuoted("it's $HOME")});
    EXPECT_EQ(result.out, "it's $HOME");
}

constexpr const char* userThunarFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n<action><icon>utilities-terminal</icon>"
    "<name>Open Terminal Here</name><unique-id>1-1</unique-id><command>exo-open %f</command>"
    "<patterns>*</patterns><directories/></action>\n"
    "<action><name>old</name><unique-id>tavrino-convert-gone</unique-id></action>\n</actions>\n";

TEST(ThunarActions, MergingKeepsTheUsersOwnAndReplacesOurs) {
    const auto actions = fileActions();
    const std::string merged = mergedThunarActions(userThunarFile, actions, "/usr/lib/tavrino");
    EXPECT_NE(merged.find("Open Terminal Here"), std::string::npos);
    EXPECT_NE(merged.find("exo-open %f"), std::string::npos);
    EXPECT_EQ(merged.find("tavrino-convert-gone"), std::string::npos);
    EXPECT_NE(merged.find("<submenu>Tavrino</submenu>"), std::string::npos);
    EXPECT_NE(merged.find("'/usr/lib/tavrino/tavrino-action' 'common(png)' %F"), std::string::npos);
    // Installing again changes nothing; removing leaves only the user's action.
    EXPECT_EQ(mergedThunarActions(merged, actions, "/usr/lib/tavrino"), merged);
    const std::string removed = mergedThunarActions(merged, {}, {});
    EXPECT_NE(removed.find("Open Terminal Here"), std::string::npos);
    EXPECT_EQ(removed.find("tavrino-"), std::string::npos);
}

TEST(ThunarActions, AFileThatIsNotThunarsIsNeverRewritten) {
    EXPECT_THROW(mergedThunarActions("<actions><action>", fileActions(), "/b"), std::runtime_error);
    EXPECT_THROW(mergedThunarActions("<menu/>", fileActions(), "/b"), std::runtime_error);
    EXPECT_NE(mergedThunarActions("", fileActions(), "/b").find("<actions>"), std::string::npos);
}

// A user's folders with the actions installed for the build tree's tavrino-cli, and a
// notify-send that records what it was asked to show.
class InstalledActions : public ::testing::Test {
  protected:
    void SetUp() override {
        folders = {dir / "data", dir / "config"};
        fs::create_directories(folders.configHome / "Thunar");
        std::ofstream(folders.configHome / "Thunar" / "uca.xml") << userThunarFile;
        installUserActions(folders, test::builtProgram("src/tavrino-cli").parent_path());
        fs::create_directories(dir / "bin");
        std::ofstream(dir / "bin" / "notify-send")
            << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << (dir / "notified").string() << "'\n";
        fs::permissions(dir / "bin" / "notify-send", fs::perms::owner_all);
    }

    // The command of our Thunar action with this label, %F replaced by the quoted paths
    // and run through the shell, as Thunar does.
    test::ProcessResult runThunarAction(const std::string& label, const fs::path& file) {
        const std::string xml = *readWholeFile(folders.configHome / "Thunar" / "uca.xml");
        const auto at = xml.find("<name>" + label + "</name>");
        EXPECT_NE(at, std::string::npos) << label;
        const auto from = xml.find("<command>", at) + 9;
        std::string command = xml.substr(from, xml.find("</command>", from) - from);
        size_t pos = 0;
        while ((pos = command.find("&apos;")) != std::string::npos)
            command.replace(pos, 6, "'");
        command.replace(command.find("%F"), 2, shellQuoted(file.string()));
        return test::runProgram(
            {"sh", "-c", "PATH=" + shellQuoted((dir / "bin").string()) + ":$PATH " + command});
    }

    test::TempDir dir;
    ActionFolders folders;
};

TEST_F(InstalledActions, ConvertingAJpegWritesThePngBesideItAndNotifies) {
    const fs::path jpeg = test::writeImage(dir / "휴가 사진.jpg");
    const auto result = runThunarAction("PNG로 변환", jpeg);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::is_regular_file(dir / "휴가 사진.png"));
    const auto notified = readWholeFile(dir / "notified");
    ASSERT_TRUE(notified);
    EXPECT_NE(notified->find("Tavrino\n완료"), std::string::npos) << *notified;
}

TEST_F(InstalledActions, AFailureIsNotifiedWithItsReasonAndFailsTheCommand) {
    const fs::path broken = test::writeText(dir / "broken.jpg", "not a picture");
    const auto result = runThunarAction("PNG로 변환", broken);
    EXPECT_EQ(result.status, 1);
    const auto notified = readWholeFile(dir / "notified");
    ASSERT_TRUE(notified);
    EXPECT_NE(notified->find(" 실패: broken.jpg"), std::string::npos) << *notified;
    EXPECT_FALSE(fs::exists(dir / "broken.png"));
}

TEST_F(InstalledActions, EveryFileManagerGetsItsFilesAndRemovalTakesOnlyOurs) {
    const auto count = [](const fs::path& folder) {
        std::error_code error;
        return std::distance(fs::directory_iterator(folder, error), fs::directory_iterator());
    };
    const auto actions = static_cast<long>(fileActions().size());
    EXPECT_EQ(count(folders.dataHome / "kio/servicemenus"), actions);
    EXPECT_EQ(count(folders.dataHome / "nemo/actions"), actions);
    EXPECT_EQ(count(folders.dataHome / "nautilus/scripts/Tavrino"), actions);
    const auto script = folders.dataHome / "nautilus/scripts/Tavrino/PNG로 변환";
    EXPECT_NE(fs::status(script).permissions() & fs::perms::owner_exec, fs::perms::none);
    std::ofstream(folders.dataHome / "nemo/actions/someone-else.nemo_action") << "[Nemo Action]\n";

    removeUserActions(folders);
    EXPECT_EQ(count(folders.dataHome / "kio/servicemenus"), 0);
    EXPECT_EQ(count(folders.dataHome / "nemo/actions"), 1);
    EXPECT_FALSE(fs::exists(folders.dataHome / "nautilus/scripts/Tavrino"));
    const auto thunar = readWholeFile(folders.configHome / "Thunar" / "uca.xml");
    EXPECT_NE(thunar->find("Open Terminal Here"), std::string::npos);
    EXPECT_EQ(thunar->find("tavrino-"), std::string::npos);
}

}  // namespace
}  // namespace tavrino
