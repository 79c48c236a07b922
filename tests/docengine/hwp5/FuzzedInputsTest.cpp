// Inputs the fuzz targets once failed on, replayed through the same paths: each must end in a
// clean result or a DocumentError.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "hwp5/Hwp5Error.h"
#include "hwp5/Hwp5File.h"
#include "hwp5/Hwp5Reader.h"
#include "hwp5/ModelBuilder.h"
#include "hwp5/Record.h"
#include "hwp5/SectionParser.h"

namespace tavrino::docs::hwp5 {
namespace {

std::vector<std::uint8_t> load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Mirrors fuzz/hwp5_records.cpp.
void replayRecords(const std::vector<std::uint8_t>& bytes) {
    try {
        auto records = parseRecords(bytes);
        Hwp5File file;
        if (!bytes.empty() && (bytes[0] & 1)) file.docInfo = parseDocInfo(records);
        file.sections.push_back(parseSection(records));
        (void)buildDocument(file);
    } catch (const Hwp5Error&) {
    }
}

TEST(Hwp5Fuzzed, KeptInputsRunCleanly) {
    std::filesystem::path dir =
        std::filesystem::path(TAVRINO_SOURCE_DIR) / "tests/docengine/hwp5/fuzzed";
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        auto bytes = load(entry.path());
        if (entry.path().filename().string().starts_with("records-")) {
            EXPECT_NO_FATAL_FAILURE(replayRecords(bytes));
        } else {
            std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
            try {
                (void)readHwp5(view);
            } catch (const DocumentError&) {
            }
        }
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace tavrino::docs::hwp5
