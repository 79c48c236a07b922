#include "cli/TextFiles.h"

#include <cstdio>

#include "io/Files.h"
#include "model/DocumentError.h"

namespace tavrino::docs {

void writeSectionTexts(const Document& document, const std::filesystem::path& folder,
                       const TextOptions& options) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error)) {
        throw DocumentError("결과 폴더를 만들 수 없음: " + folder.string());
    }
    const std::vector<std::string> texts = sectionTexts(document, options);
    for (size_t i = 0; i < texts.size(); ++i) {
        char name[48];
        std::snprintf(name, sizeof name, "section-%04zu.txt", i + 1);
        writeFileAtomically(folder / name, texts[i]);
    }
}

}  // namespace tavrino::docs
