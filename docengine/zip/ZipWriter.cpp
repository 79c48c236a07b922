#include "zip/ZipWriter.h"

#include <zip.h>

#include <ctime>
#include <memory>

#include "model/DocumentError.h"

namespace tavrino::docs {
namespace {

struct SourceDeleter {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using SourcePtr = std::unique_ptr<zip_source_t, SourceDeleter>;

// libzip turns the time back into local DOS fields, so a local midnight yields the same
// stored date in every time zone.
std::time_t fixedEntryTime() {
    std::tm when{};
    when.tm_year = 2020 - 1900;
    when.tm_mon = 0;
    when.tm_mday = 1;
    when.tm_hour = 0;
    when.tm_isdst = -1;
    return std::mktime(&when);
}

[[noreturn]] void fail(const char* what) {
    throw DocumentError(std::string("ZIP 묶음을 만들지 못함: ") + what);
}

std::string drain(zip_source_t* source) {
    if (zip_source_open(source) < 0) fail("결과를 읽을 수 없음");
    zip_source_seek(source, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(source);
    zip_source_seek(source, 0, SEEK_SET);
    std::string bytes(static_cast<size_t>(size < 0 ? 0 : size), '\0');
    const zip_int64_t got = zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    if (got != size) fail("결과를 읽을 수 없음");
    return bytes;
}

}  // namespace

void ZipWriter::add(std::string name, std::string data, Compression compression) {
    entries_.push_back(Entry{std::move(name), std::move(data), compression});
}

std::string ZipWriter::finish() const {
    zip_error_t error;
    zip_error_init(&error);
    SourcePtr target(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!target) fail("메모리 부족");
    zip_source_keep(target.get());
    zip_t* archive = zip_open_from_source(target.get(), ZIP_TRUNCATE, &error);
    zip_error_fini(&error);
    if (!archive) fail("열기 실패");
    const std::time_t when = fixedEntryTime();
    for (const Entry& entry : entries_) {
        zip_source_t* data = zip_source_buffer(archive, entry.data.data(), entry.data.size(), 0);
        const zip_int64_t index =
            data ? zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (data) zip_source_free(data);
            zip_discard(archive);
            fail(entry.name.c_str());
        }
        const auto at = static_cast<zip_uint64_t>(index);
        zip_set_file_compression(
            archive, at, entry.compression == Compression::stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
            0);
        zip_file_set_mtime(archive, at, when, 0);
    }
    if (zip_close(archive) < 0) {
        zip_discard(archive);
        fail("쓰기 실패");
    }
    return drain(target.get());
}

}  // namespace tavrino::docs
