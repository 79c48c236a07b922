// Documents saved for distribution: the scrambled key record and the AES-128 body.

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <array>

#include "HwpFixture.h"
#include "hwp5/Distribution.h"
#include "hwp5/Hwp5Error.h"
#include "hwp5/Inflate.h"

namespace tavrino::docs::hwp5 {
namespace {

using test::Bytes;

Bytes aesEncrypt(const Bytes& plain, const std::array<std::uint8_t, 16>& key) {
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, key.data(), nullptr);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    Bytes out(plain.size() + 16);
    int n = 0, tail = 0;
    EVP_EncryptUpdate(ctx, out.data(), &n, plain.data(), static_cast<int>(plain.size()));
    EVP_EncryptFinal_ex(ctx, out.data() + n, &tail);
    EVP_CIPHER_CTX_free(ctx);
    out.resize(static_cast<std::size_t>(n + tail));
    return out;
}

// A distribution stream as the word processor lays it out: the scrambled 256-byte record with
// the key at 4 + (seed & 0xF), then the encrypted body.
Bytes distributionStream(const Bytes& body, std::uint32_t seed,
                         const std::array<std::uint8_t, 16>& key) {
    std::array<std::uint8_t, 256> payload{};
    for (std::size_t i = 0; i < 4; ++i)
        payload[i] = static_cast<std::uint8_t>(seed >> (8 * i));
    for (std::size_t i = 4; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i * 31);
    std::copy(key.begin(), key.end(), payload.begin() + 4 + (seed & 0xF));
    // Scrambling is an XOR with the generator's bytes, so descrambling also scrambles.
    descrambleDistributionRecord(payload);
    Bytes padded = body;
    padded.resize((body.size() + 15) / 16 * 16, 0);
    return test::join({test::Writer().u32(28 | (256u << 20)).bytes,
                       Bytes(payload.begin(), payload.end()), aesEncrypt(padded, key)});
}

TEST(Distribution, DescramblingKeepsTheSeedAndIsItsOwnInverse) {
    std::array<std::uint8_t, 256> payload{};
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i);
    auto original = payload;
    descrambleDistributionRecord(payload);
    EXPECT_TRUE(std::equal(payload.begin(), payload.begin() + 4, original.begin()));
    EXPECT_NE(payload, original);
    descrambleDistributionRecord(payload);
    EXPECT_EQ(payload, original);
}

TEST(Distribution, DecryptsTheBodyWithTheKeyFromTheRecord) {
    std::array<std::uint8_t, 16> key{};
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>('0' + i);
    Bytes plain(1000, 'q');
    Bytes packed = test::deflateRaw(plain);
    for (std::uint32_t seed : {0x12345678u, 0x0000000Fu, 0xFFFFFFF0u}) {
        Bytes stream = distributionStream(packed, seed, key);
        Bytes decrypted = decryptDistributionStream(stream);
        EXPECT_EQ(inflateRaw(decrypted), plain) << seed;
    }
}

TEST(Distribution, MissingRecordOrPartialBlockIsAnError) {
    std::array<std::uint8_t, 16> key{};
    Bytes stream = distributionStream(Bytes(32, 1), 7, key);
    Bytes partial(stream.begin(), stream.end() - 5);
    EXPECT_THROW(decryptDistributionStream(partial), Hwp5Error);
    Bytes wrongTag = stream;
    wrongTag[0] = 66;
    EXPECT_THROW(decryptDistributionStream(wrongTag), Hwp5Error);
    EXPECT_THROW(decryptDistributionStream(Bytes(100, 0)), Hwp5Error);
}

}  // namespace
}  // namespace tavrino::docs::hwp5
