#include "run/RiskCheck.h"

#include <gtest/gtest.h>

#include <fstream>

#include "convert/ConvertError.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "support/Fixtures.h"
#include "support/Judges.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;
using namespace tavrino;
using namespace tavrino::test;

namespace {

void expectUnreadable(std::string_view output) {
    EXPECT_EQ(errorOf([&] { parseRiskReply(output); }), "risk 결과(JSON)를 읽지 못함") << output;
}

TEST(RiskReply, FindsTheLastJsonLineAmongOtherOutput) {
    const std::string output =
        "reading\n{\"risks\":[{\"code\":\"old\",\"count\":9,\"message\":\"x\"}]}\n"
        "{\"risks\":[{\"code\":\"nestedTable\",\"count\":2,\"message\":\"표 안에 표\"},"
        "{\"code\":\"font\",\"count\":1,\"message\":\"글꼴\",\"extra\":true}],\"v\":1}\n"
        "done\n\n";
    const std::vector<DocRisk> expected{{"nestedTable", 2, "표 안에 표"}, {"font", 1, "글꼴"}};
    EXPECT_EQ(parseRiskReply(output), expected);
}

TEST(RiskReply, SkipsObjectsOfTheWrongShapeButKeepsTheRest) {
    const std::string output =
        "{\"risks\":[{\"code\":\"a\",\"count\":\"2\",\"message\":\"m\"},"
        "{\"code\":\"b\",\"count\":1.5,\"message\":\"m\"},{\"code\":\"c\",\"count\":1},"
        "{\"code\":\"d\",\"count\":3,\"message\":\"남음\"}]}";
    const std::vector<DocRisk> expected{{"d", 3, "남음"}};
    EXPECT_EQ(parseRiskReply(output), expected);
    EXPECT_TRUE(parseRiskReply("{\"risks\":[]}").empty());
}

TEST(RiskReply, RefusesRepliesWithoutAUsableJsonLine) {
    expectUnreadable("");
    expectUnreadable("no json here\n");
    expectUnreadable("  {\"risks\":[]}\n");  // indented: not a reply line
    expectUnreadable("{not json\n");
    expectUnreadable("{\"risks\":[]}\n{broken\n");  // only the last one counts
    expectUnreadable("{\"other\":[]}");
    expectUnreadable("{\"risks\":{}}");
    expectUnreadable("{\"risks\":[1,2]}");
}

TEST(RiskNotice, ShowsTwoMessagesOrPointsAtTheLog) {
    EXPECT_TRUE(riskNoticeLines({}).empty());
    EXPECT_EQ(riskNoticeLines({{"a", 1, "표"}}), std::vector<std::string>{"표"});
    EXPECT_EQ(riskNoticeLines({{"a", 1, "표"}, {"b", 4, "글꼴"}}),
              (std::vector<std::string>{"표", "글꼴"}));
    const auto lines = riskNoticeLines({{"a", 1, "표"}, {"b", 1, "글꼴"}, {"c", 1, "그림"}});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "표");
    EXPECT_EQ(lines[1], "그 밖에 2가지 — 전체 목록은 " + withTilde(userLogFile()));
}

// A wordbridge that cannot answer the query leaves the conversion standing: no value, and a
// log line that says the result is kept.
TEST(RiskCheck, AFailingQueryIsLoggedAndReportsNoValue) {
    TempDir folder;
    const fs::path previous = logFile();
    setLogFile(folder.path() / "run.log");
    const fs::path source = folder.path() / "broken.docx";
    { std::ofstream(source) << "not a zip"; }
    const std::optional<std::vector<DocRisk>> found = checkRisks(source);
    setLogFile(previous);
    EXPECT_FALSE(found.has_value());
    const std::string logged = readBytes(folder.path() / "run.log");
    EXPECT_NE(logged.find("] 깨짐 위험 검사 실패(변환 결과는 그대로): broken.docx: Word 변환"),
              std::string::npos)
        << logged;
}

}  // namespace
