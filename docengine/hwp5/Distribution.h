#pragma once
// Streams of documents saved "for distribution" (ViewText/Section*, Scripts/*): a 260-byte
// DISTRIBUTE_DOC_DATA record whose scrambled payload carries the AES-128 key, then the stream
// itself encrypted with AES-128 in ECB mode.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrino::docs::hwp5 {

// Undoes the scrambling of the 256-byte distribution record in place: a linear congruential
// generator seeded with its first four bytes yields runs of XOR key bytes.
void descrambleDistributionRecord(std::span<std::uint8_t, 256> payload);

// The AES key inside a descrambled distribution record.
std::array<std::uint8_t, 16> distributionKey(std::span<const std::uint8_t, 256> payload);

// Decrypts one distribution stream and returns what follows its header, still compressed if
// the document is. Throws Hwp5Error when the record is missing or the data is not whole AES
// blocks.
std::vector<std::uint8_t> decryptDistributionStream(std::span<const std::uint8_t> stream);

}  // namespace tavrino::docs::hwp5
