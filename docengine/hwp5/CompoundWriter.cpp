#include "hwp5/CompoundWriter.h"

#include <gsf/gsf.h>

#include <map>
#include <mutex>
#include <utility>

#include "hwp5/GsfRef.h"
#include "model/DocumentError.h"

namespace tavrino::docs::hwp5 {
namespace {

void ensureGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// A child output is closed before its reference goes; libgsf writes the directory entry then.
void closeOutput(GsfOutput* output, const std::string& path) {
    if (!gsf_output_is_closed(output) && !gsf_output_close(output))
        throw DocumentError("한글 문서의 " + path + " 부분을 쓰지 못함");
}

class Builder {
  public:
    explicit Builder(GsfOutfile* root) : root_(root) {}

    ~Builder() {
        // After a failure the storages still have to be released; their close errors are moot.
        for (auto it = storages_.rbegin(); it != storages_.rend(); ++it)
            if (GsfOutput* out = GSF_OUTPUT(it->second.get()); !gsf_output_is_closed(out))
                gsf_output_close(out);
    }
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    void add(const CompoundEntry& entry) {
        const std::size_t slash = entry.path.rfind('/');
        GsfOutfile* parent = root_;
        if (slash != std::string::npos) parent = storage(entry.path.substr(0, slash));
        const std::string name =
            slash == std::string::npos ? entry.path : entry.path.substr(slash + 1);
        if (name.empty()) return;  // only the storage was wanted
        GsfRef<GsfOutput> stream(gsf_outfile_new_child(parent, name.c_str(), FALSE));
        if (!stream) throw DocumentError("한글 문서의 " + entry.path + " 부분을 만들지 못함");
        if (!entry.bytes.empty() &&
            !gsf_output_write(stream.get(), entry.bytes.size(), entry.bytes.data()))
            throw DocumentError("한글 문서의 " + entry.path + " 부분을 쓰지 못함");
        closeOutput(stream.get(), entry.path);
    }

    void finish() {
        for (auto it = storages_.rbegin(); it != storages_.rend(); ++it) {
            closeOutput(GSF_OUTPUT(it->second.get()), it->first);
        }
    }

  private:
    // Storages nest by path; this format only ever uses one level, but nothing here cares.
    GsfOutfile* storage(const std::string& path) {
        auto found = storages_.find(path);
        if (found != storages_.end()) return found->second.get();
        const std::size_t slash = path.rfind('/');
        GsfOutfile* parent = slash == std::string::npos ? root_ : storage(path.substr(0, slash));
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        GsfOutput* child = gsf_outfile_new_child(parent, name.c_str(), TRUE);
        if (!child) throw DocumentError("한글 문서의 " + path + " 저장소를 만들지 못함");
        return storages_.emplace(path, GsfRef<GsfOutfile>(GSF_OUTFILE(child))).first->second.get();
    }

    GsfOutfile* root_;
    // Closed children-first at the end: the longer path sorts after its parent.
    std::map<std::string, GsfRef<GsfOutfile>> storages_;
};

}  // namespace

std::string writeCompoundFile(const std::vector<CompoundEntry>& entries) {
    ensureGsf();
    GsfRef<GsfOutput> sink(gsf_output_memory_new());
    GsfRef<GsfOutfile> root(gsf_outfile_msole_new_full(sink.get(), 512, 64));
    if (!root) throw DocumentError("한글 문서의 복합 파일을 만들지 못함");
    {
        Builder builder(root.get());
        for (const CompoundEntry& entry : entries)
            builder.add(entry);
        builder.finish();
    }
    closeOutput(GSF_OUTPUT(root.get()), "복합 파일");
    closeOutput(sink.get(), "복합 파일");
    GsfOutputMemory* memory = GSF_OUTPUT_MEMORY(sink.get());
    const auto* data = reinterpret_cast<const char*>(gsf_output_memory_get_bytes(memory));
    const auto size = static_cast<std::size_t>(gsf_output_size(sink.get()));
    return std::string(data, size);
}

}  // namespace tavrino::docs::hwp5
