#include "pdf/OfficeProfile.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

namespace tavrino::docs {
namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool isVersion(const std::string& text) {
    return !text.empty() && text.size() <= 16 &&
           text.find_first_not_of("0123456789.") == std::string::npos;
}

constexpr std::string_view kItemPath = R"(<item oor:path="/org.openoffice.Setup/Product">)";
constexpr std::string_view kItemEnd = "</item>";

std::string lastVersionItem(const std::string& version) {
    return std::string(kItemPath) + R"(<prop oor:name="ooSetupLastVersion" oor:op="fuse"><value>)" +
           version + "</value></prop></item>";
}

fs::path configuration(const fs::path& program) {
    return program / ".." / "share" / "registry" / "main.xcd";
}

}  // namespace

std::string officeVersion(const fs::path& program) {
    if (program.empty()) return {};
    const std::string xcd = readAll(configuration(program));
    // The schema declares the property with its type; the product's data gives it bare.
    constexpr std::string_view property = R"(<prop oor:name="ooSetupVersion">)";
    const std::size_t at = xcd.find(property);
    if (at == std::string::npos) return {};
    const std::size_t open = xcd.find("<value>", at);
    const std::size_t close = xcd.find("</value>", at);
    const std::size_t next = xcd.find("</prop>", at);
    if (open == std::string::npos || close == std::string::npos || close > next) return {};
    const std::size_t begin = open + std::string_view("<value>").size();
    if (close < begin) return {};
    std::string version = xcd.substr(begin, close - begin);
    return isVersion(version) ? version : std::string();
}

std::string officeVersionCached(const fs::path& program, const fs::path& cache) {
    if (program.empty() || cache.empty()) return officeVersion(program);
    const fs::path xcd = configuration(program);
    struct stat info {};
    if (::stat(xcd.c_str(), &info) != 0) return {};
    const std::string key = xcd.lexically_normal().string() + "\n" + std::to_string(info.st_size) +
                            "\n" + std::to_string(info.st_mtim.tv_sec) + "." +
                            std::to_string(info.st_mtim.tv_nsec) + "\n";
    const std::string remembered = readAll(cache);
    if (remembered.size() > key.size() && remembered.compare(0, key.size(), key) == 0) {
        std::string version = remembered.substr(key.size());
        if (!version.empty() && version.back() == '\n') version.pop_back();
        if (isVersion(version)) return version;
    }
    const std::string version = officeVersion(program);
    if (!isVersion(version)) return version;
    // Replaced whole, so a reader at the same moment sees the old answer or the new one.
    const fs::path temporary = cache.string() + ".new";
    std::error_code error;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << key << version << "\n";
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return version;
        }
    }
    fs::rename(temporary, cache, error);
    if (error) fs::remove(temporary, error);
    return version;
}

void markProfileCurrent(const fs::path& profile, const std::string& version) {
    if (!isVersion(version)) return;
    const fs::path settings = profile / "user" / "registrymodifications.xcu";
    std::error_code error;
    const bool exists = fs::exists(settings, error);
    std::string text;
    if (exists) {
        text = readAll(settings);
        // LibreOffice writes the item in this same form, so an older version's item (left by
        // an upgrade) is found and replaced rather than given a second one.
        const std::string wanted = lastVersionItem(version);
        if (text.find(wanted) != std::string::npos) return;
        const std::size_t old =
            text.find(std::string(kItemPath) + R"(<prop oor:name="ooSetupLastVersion")");
        if (old != std::string::npos) {
            const std::size_t end = text.find(kItemEnd, old);
            if (end == std::string::npos) return;
            text.replace(old, end + kItemEnd.size() - old, wanted);
        } else {
            const std::size_t close = text.rfind("</oor:items>");
            if (close == std::string::npos) return;
            text.insert(close, wanted + "\n");
        }
    } else {
        text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
            "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n" +
            lastVersionItem(version) + "\n</oor:items>\n";
        fs::create_directories(settings.parent_path(), error);
        if (error) return;
    }
    // Whole or not at all: LibreOffice must never find half a settings file.
    const fs::path temporary = settings.string() + ".tavrino-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            fs::remove(temporary, error);
            return;
        }
    }
    fs::rename(temporary, settings, error);
    if (error) fs::remove(temporary, error);
}

}  // namespace tavrino::docs
