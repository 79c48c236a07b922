#include "tools/ResultFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "convert/ConvertError.h"
#include "convert/PendingFile.h"

namespace fs = std::filesystem;

namespace tavrino {

fs::path writeResultFile(std::string_view bytes, const OutputName& name, std::string_view failure) {
    PendingFile pending(name);
    std::ofstream out(pending.path(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw ConvertError(std::string(failure) + ": " + std::strerror(errno));
    return pending.place();
}

}  // namespace tavrino
