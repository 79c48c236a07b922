#pragma once
// The CRC-32 of PNG chunks (ISO 3309, polynomial 0xEDB88320, reflected).

#include <cstdint>
#include <string_view>

namespace tavrino {

std::uint32_t crc32(std::string_view bytes);

}  // namespace tavrino
