#include "hwp5/RecordWriter.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "model/DocumentError.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::uint32_t kExtendedSize = 0xFFF;

class DeflateStream {
  public:
    explicit DeflateStream(int level) {
        if (deflateInit2(&z_, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw DocumentError("압축을 시작하지 못함");
    }
    ~DeflateStream() { deflateEnd(&z_); }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
    z_stream* get() { return &z_; }

  private:
    z_stream z_{};
};

}  // namespace

void RecordWriter::add(std::uint16_t tag, std::uint16_t level,
                       const std::vector<std::uint8_t>& payload) {
    if (payload.size() > UINT32_MAX) throw DocumentError("한 레코드에 담기에 내용이 너무 큼");
    const auto size = static_cast<std::uint32_t>(payload.size());
    const std::uint32_t head =
        (tag & 0x3FFu) | ((level & 0x3FFu) << 10) | (std::min(size, kExtendedSize) << 20);
    out_.u32(head);
    if (size >= kExtendedSize) out_.u32(size);
    out_.raw(payload);
}

std::vector<std::uint8_t> deflateStream(std::span<const std::uint8_t> plain, int level) {
    if (plain.size() > UINT32_MAX) throw DocumentError("압축하기에 내용이 너무 큼");
    DeflateStream stream(level);
    z_stream* z = stream.get();
    std::vector<std::uint8_t> out(deflateBound(z, static_cast<uLong>(plain.size())) + 8);
    z->next_in = const_cast<Bytef*>(plain.data());
    z->avail_in = static_cast<uInt>(plain.size());
    z->next_out = out.data();
    z->avail_out = static_cast<uInt>(out.size() - 8);
    if (deflate(z, Z_FINISH) != Z_STREAM_END) throw DocumentError("내용을 압축하지 못함");
    out.resize(z->total_out);
    const uLong crc = crc32(0, plain.data(), static_cast<uInt>(plain.size()));
    ByteWriter trailer;
    trailer.u32(static_cast<std::uint32_t>(crc)).u32(static_cast<std::uint32_t>(plain.size()));
    out.insert(out.end(), trailer.bytes().begin(), trailer.bytes().end());
    return out;
}

}  // namespace tavrino::docs::hwp5
