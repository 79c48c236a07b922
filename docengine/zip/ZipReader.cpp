#include "zip/ZipReader.h"

#include <zip.h>

#include <algorithm>

#include "model/DocumentError.h"

namespace tavrino::docs {

struct ZipReader::Archive {
    zip_t* handle = nullptr;
    ~Archive() {
        if (handle) zip_discard(handle);
    }
};

namespace {

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string zipErrorText(zip_error_t* error) {
    const char* text = zip_error_strerror(error);
    return text ? text : "알 수 없는 오류";
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

bool looksLikeZip(std::string_view bytes) {
    return bytes.substr(0, 4) == "PK\x03\x04";
}

bool isSafeEntryName(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    for (const char c : name) {
        if (c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    }
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('/', start), name.size());
        if (name.substr(start, end - start) == "..") return false;
        start = end + 1;
    }
    return true;
}

ZipReader::ZipReader(std::string_view bytes, ZipLimits limits)
    : archive_(std::make_unique<Archive>()), limits_(limits), archiveSize_(bytes.size()) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) throw DocumentError("ZIP 묶음을 열 수 없음: " + zipErrorText(&error));
    archive_->handle = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive_->handle) {
        zip_source_free(source);
        const std::string text = zipErrorText(&error);
        zip_error_fini(&error);
        throw DocumentError("ZIP 묶음이 손상되었거나 잘렸음: " + text);
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(archive_->handle, 0);
    if (count < 0 || static_cast<std::uint64_t>(count) > limits_.maxEntries) {
        throw DocumentError("ZIP 묶음의 항목이 너무 많음");
    }
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(archive_->handle, static_cast<zip_uint64_t>(i), 0);
        const std::string name = raw ? raw : "";
        if (!isSafeEntryName(name)) {
            throw DocumentError("ZIP 항목 이름이 안전하지 않음: " + name.substr(0, 80));
        }
        names_.push_back(name);
    }
}

ZipReader::~ZipReader() = default;

std::optional<std::string> ZipReader::find(std::string_view name) const {
    for (const auto& stored : names_) {
        if (stored == name) return stored;
    }
    for (const auto& stored : names_) {
        if (equalsIgnoringCase(stored, name)) return stored;
    }
    return std::nullopt;
}

int ZipReader::compressionMethod(std::string_view name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive_->handle, std::string(name).c_str(), 0, &stat) != 0) return -1;
    return stat.comp_method;
}

std::optional<std::string> ZipReader::readIfPresent(std::string_view name) {
    if (!find(name)) return std::nullopt;
    return read(name);
}

// Reads in chunks and stops at the limits, whatever sizes the headers claim: a header can lie,
// the inflated stream cannot.
std::string ZipReader::read(std::string_view wanted) {
    const auto name = find(wanted);
    if (!name) throw DocumentError("문서에 필요한 부분이 없음: " + std::string(wanted));
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive_->handle, name->c_str(), 0, &stat) != 0) {
        throw DocumentError("ZIP 항목을 읽을 수 없음: " + *name);
    }
    // The compressed size is a header's word too, but it cannot exceed the archive.
    const std::uint64_t packed =
        std::clamp<std::uint64_t>(stat.comp_size, 1, std::max<std::uint64_t>(archiveSize_, 1));
    auto tooLarge = [&](std::uint64_t size) {
        return size > limits_.maxEntrySize ||
               (size > (1u << 20) && size / packed > limits_.maxRatio);
    };
    if (tooLarge(stat.size)) {
        throw DocumentError("ZIP 항목이 지나치게 큼(압축 폭탄 의심): " + *name);
    }
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen(archive_->handle, name->c_str(), 0));
    if (!file) throw DocumentError("ZIP 항목을 열 수 없음: " + *name);
    std::string data;
    char buffer[65536];
    while (true) {
        const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
        if (got < 0) throw DocumentError("ZIP 항목이 손상되었음: " + *name);
        if (got == 0) break;
        data.append(buffer, static_cast<size_t>(got));
        totalRead_ += static_cast<std::uint64_t>(got);
        if (tooLarge(data.size()) || totalRead_ > limits_.maxTotalSize) {
            throw DocumentError("ZIP 항목이 지나치게 큼(압축 폭탄 의심): " + *name);
        }
    }
    return data;
}

}  // namespace tavrino::docs
