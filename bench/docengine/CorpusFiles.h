#pragma once
// The corpus documents the document benchmarks run over, in name order.

#include <algorithm>
#include <filesystem>
#include <vector>

inline std::vector<std::filesystem::path> corpusDocuments() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path corpus = TAVRINO_CORPUS_DIR;
    for (const char* folder : {"hwp", "hwpx", "docx"}) {
        if (!std::filesystem::is_directory(corpus / folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(corpus / folder))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}
