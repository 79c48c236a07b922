#include "hwp5/CompoundFile.h"

#include <gsf/gsf.h>

#include <fstream>
#include <mutex>
#include <sstream>
#include <utility>

#include "hwp5/CompoundFileCheck.h"
#include "hwp5/GsfRef.h"
#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {
namespace {

void ignoreLog(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf reports damaged files on standard error as it meets them; our own structure check
// has already refused what matters, and the tools' last output line must be our message.
void ensureGsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        g_log_set_handler("libgsf:msole", G_LOG_LEVEL_MASK, ignoreLog, nullptr);
    });
}

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::stringstream in(path);
    for (std::string part; std::getline(in, part, '/');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

// libgsf hands out streams as GsfInfile objects too; only storages have a child count.
bool isStorage(GsfInput* input) {
    return GSF_IS_INFILE(input) && gsf_infile_num_children(GSF_INFILE(input)) >= 0;
}

bool sameName(const char* a, const std::string& b) {
    return a && g_ascii_strcasecmp(a, b.c_str()) == 0;
}

}  // namespace

struct CompoundFile::Impl {
    std::vector<std::uint8_t> bytes;
    GsfRef<GsfInput> source;
    GsfRef<GsfInfile> root;

    // Finds a direct child by name, ignoring case, and returns a new reference to it.
    static GsfRef<GsfInput> child(GsfInfile* dir, const std::string& name) {
        int count = gsf_infile_num_children(dir);
        for (int i = 0; i < count; ++i)
            if (sameName(gsf_infile_name_by_index(dir, i), name))
                return GsfRef<GsfInput>(gsf_infile_child_by_index(dir, i));
        return GsfRef<GsfInput>();
    }

    GsfRef<GsfInput> find(const std::string& path) const {
        auto parts = splitPath(path);
        GsfRef<GsfInput> current(GSF_INPUT(g_object_ref(root.get())));
        for (const auto& part : parts) {
            if (!isStorage(current.get())) return GsfRef<GsfInput>();
            current = child(GSF_INFILE(current.get()), part);
            if (!current) return current;
        }
        return current;
    }
};

CompoundFile::CompoundFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CompoundFile::CompoundFile(CompoundFile&&) noexcept = default;
CompoundFile& CompoundFile::operator=(CompoundFile&&) noexcept = default;
CompoundFile::~CompoundFile() = default;

CompoundFile CompoundFile::openFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw Hwp5Error("문서를 열 수 없음");
    auto size = static_cast<std::uint64_t>(in.tellg());
    if (size > kMaxCompoundFileSize) throw Hwp5Error("문서가 너무 큼");
    std::vector<std::uint8_t> bytes(size);
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        throw Hwp5Error("문서를 읽을 수 없음");
    return openBytes(std::move(bytes));
}

CompoundFile CompoundFile::openBytes(std::vector<std::uint8_t> bytes) {
    checkCompoundFile(bytes);
    ensureGsf();
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    impl->source = GsfRef<GsfInput>(gsf_input_memory_new(
        impl->bytes.data(), static_cast<gsf_off_t>(impl->bytes.size()), FALSE));
    GError* error = nullptr;
    impl->root = GsfRef<GsfInfile>(gsf_infile_msole_new(impl->source.get(), &error));
    if (error) g_error_free(error);
    if (!impl->root) throw Hwp5Error("복합 문서 구조가 손상됨");
    return CompoundFile(std::move(impl));
}

bool CompoundFile::hasStream(const std::string& path) const {
    auto input = impl_->find(path);
    return input && !isStorage(input.get());
}

std::optional<std::vector<std::uint8_t>> CompoundFile::read(const std::string& path) const {
    auto input = impl_->find(path);
    if (!input || isStorage(input.get())) return std::nullopt;
    gsf_off_t size = gsf_input_size(input.get());
    // The structure check bounds every stream by the file size; this is the last line of
    // defence should libgsf ever report something else.
    if (size < 0 || static_cast<std::uint64_t>(size) > impl_->bytes.size())
        throw Hwp5Error("스트림 크기가 잘못됨: " + path);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(size));
    if (size > 0 && !gsf_input_read(input.get(), static_cast<std::size_t>(size), out.data()))
        throw Hwp5Error("스트림을 읽을 수 없음: " + path);
    return out;
}

std::vector<std::string> CompoundFile::children(const std::string& storage) const {
    std::vector<std::string> names;
    auto dir = impl_->find(storage);
    if (!dir || !isStorage(dir.get())) return names;
    GsfInfile* infile = GSF_INFILE(dir.get());
    int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i)
        if (const char* name = gsf_infile_name_by_index(infile, i)) names.emplace_back(name);
    return names;
}

}  // namespace tavrino::docs::hwp5
