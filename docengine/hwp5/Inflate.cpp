#include "hwp5/Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "hwp5/Hwp5Error.h"

namespace tavrino::docs::hwp5 {
namespace {

class InflateStream {
  public:
    InflateStream() {
        if (inflateInit2(&z_, -15) != Z_OK) throw Hwp5Error("압축 풀기를 시작하지 못함");
    }
    ~InflateStream() { inflateEnd(&z_); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    z_stream* get() { return &z_; }

  private:
    z_stream z_{};
};

}  // namespace

std::vector<std::uint8_t> inflateRaw(std::span<const std::uint8_t> compressed, std::size_t limit) {
    InflateStream stream;
    z_stream* z = stream.get();
    z->next_in = const_cast<Bytef*>(compressed.data());
    z->avail_in = static_cast<uInt>(std::min<std::size_t>(compressed.size(), UINT_MAX));

    std::vector<std::uint8_t> out;
    out.resize(std::min<std::size_t>(limit, std::max<std::size_t>(compressed.size() * 4, 4096)));
    std::size_t produced = 0;
    for (;;) {
        if (produced == out.size()) {
            if (out.size() >= limit) throw Hwp5Error("압축을 푼 내용이 너무 큼");
            out.resize(std::min(limit, out.size() * 2));
        }
        z->next_out = out.data() + produced;
        z->avail_out = static_cast<uInt>(std::min<std::size_t>(out.size() - produced, UINT_MAX));
        uInt before = z->avail_out;
        int rc = inflate(z, Z_NO_FLUSH);
        produced += before - z->avail_out;
        if (rc == Z_STREAM_END) break;
        if (rc == Z_BUF_ERROR && z->avail_in == 0) throw Hwp5Error("압축된 내용이 중간에 잘림");
        if (rc != Z_OK && rc != Z_BUF_ERROR) throw Hwp5Error("압축된 내용이 손상됨");
    }
    out.resize(produced);
    return out;
}

}  // namespace tavrino::docs::hwp5
