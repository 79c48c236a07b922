#include "hwp5/Distribution.h"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

#include "hwp5/ByteReader.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Record.h"

namespace tavrino::docs::hwp5 {
namespace {

constexpr std::size_t kRecordSize = 4 + 256;

// The C runtime's rand(): state * 214013 + 2531011, output bits 16-30.
class MsvcRand {
  public:
    explicit MsvcRand(std::uint32_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ = state_ * 214013u + 2531011u;
        return (state_ >> 16) & 0x7FFF;
    }

  private:
    std::uint32_t state_;
};

struct CipherDeleter {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};

std::vector<std::uint8_t> aes128EcbDecrypt(std::span<const std::uint8_t> data,
                                           const std::array<std::uint8_t, 16>& key) {
    std::unique_ptr<EVP_CIPHER_CTX, CipherDeleter> ctx(EVP_CIPHER_CTX_new());
    if (!ctx || EVP_DecryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key.data(), nullptr) != 1)
        throw Hwp5Error("배포용 문서를 풀 준비를 하지 못함");
    // The plaintext ends in zero fill, not PKCS padding; the deflate stream marks its own end.
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    std::vector<std::uint8_t> out(data.size() + 16);
    int written = 0, tail = 0;
    if (EVP_DecryptUpdate(ctx.get(), out.data(), &written, data.data(),
                          static_cast<int>(data.size())) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), out.data() + written, &tail) != 1)
        throw Hwp5Error("배포용 문서를 풀지 못함");
    out.resize(static_cast<std::size_t>(written + tail));
    return out;
}

}  // namespace

void descrambleDistributionRecord(std::span<std::uint8_t, 256> payload) {
    std::uint32_t seed =
        payload[0] | (payload[1] << 8) | (payload[2] << 16) | (std::uint32_t{payload[3]} << 24);
    MsvcRand rand(seed);
    std::uint8_t key = 0;
    std::uint32_t run = 0;
    for (std::size_t i = 0; i < payload.size(); ++i) {
        if (run == 0) {
            key = static_cast<std::uint8_t>(rand.next() & 0xFF);
            run = (rand.next() & 0xF) + 1;
        }
        if (i >= 4) payload[i] ^= key;
        --run;
    }
}

std::array<std::uint8_t, 16> distributionKey(std::span<const std::uint8_t, 256> payload) {
    std::size_t offset = 4 + (payload[0] & 0xF);
    std::array<std::uint8_t, 16> key{};
    std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(offset), key.size(), key.begin());
    return key;
}

std::vector<std::uint8_t> decryptDistributionStream(std::span<const std::uint8_t> stream) {
    ByteReader in(stream, "배포용 문서 스트림");
    std::uint32_t header = in.u32();
    if ((header & 0x3FF) != tag::kDistributeDocData || (header >> 20) != 256)
        throw Hwp5Error("배포용 문서의 열쇠 레코드가 없음");
    std::array<std::uint8_t, 256> payload{};
    auto raw = in.bytes(256);
    std::copy(raw.begin(), raw.end(), payload.begin());
    descrambleDistributionRecord(payload);
    auto body = stream.subspan(kRecordSize);
    if (body.size() % 16 != 0) throw Hwp5Error("배포용 문서의 암호화된 내용이 잘림");
    return aes128EcbDecrypt(body, distributionKey(payload));
}

}  // namespace tavrino::docs::hwp5
