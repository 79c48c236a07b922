#include "support/TestFiles.h"

#include <unistd.h>
#include <vips/vips.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/Vips.h"

namespace tavrino::test {
namespace {

VipsImageRef gradient(int width, int height, int bands) {
    ensureVips();
    VipsImageRef x, rgb, cast;
    // A diagonal ramp in every band gives encoders something other than flat colour.
    if (vips_xyz(x.out(), width, height, nullptr)) throw std::runtime_error(vips_error_buffer());
    VipsImageRef sum;
    if (vips_bandmean(x.get(), sum.out(), nullptr)) throw std::runtime_error(vips_error_buffer());
    std::vector<VipsImage*> copies(static_cast<size_t>(bands), sum.get());
    if (vips_bandjoin(copies.data(), rgb.out(), bands, nullptr) ||
        vips_cast_uchar(rgb.get(), cast.out(), nullptr)) {
        throw std::runtime_error(vips_error_buffer());
    }
    VipsImageRef srgb;
    if (vips_copy(cast.get(), srgb.out(), "interpretation", VIPS_INTERPRETATION_sRGB, nullptr)) {
        throw std::runtime_error(vips_error_buffer());
    }
    return srgb;
}

void save(VipsImage* image, const std::filesystem::path& path) {
    if (vips_image_write_to_file(image, path.c_str(), nullptr)) {
        std::string message = vips_error_buffer();
        vips_error_clear();
        throw std::runtime_error("cannot write " + path.string() + ": " + message);
    }
}

void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xff);
    out += static_cast<char>(v >> 8);
}
void put32(std::string& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xffff));
    put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrino-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path writeImage(const std::filesystem::path& path, int width, int height,
                                 int bands) {
    save(gradient(width, height, bands).get(), path);
    return path;
}

std::filesystem::path writeFrames(const std::filesystem::path& path, int frames, int width,
                                  int height) {
    VipsImageRef tall = gradient(width, height * frames, 3);
    VipsImageRef paged;
    if (vips_copy(tall.get(), paged.out(), nullptr)) throw std::runtime_error(vips_error_buffer());
    vips_image_set_int(paged.get(), "page-height", height);
    save(paged.get(), path);
    return path;
}

std::filesystem::path writeBMP(const std::filesystem::path& path, int width, int height) {
    const uint32_t rowBytes = static_cast<uint32_t>((width * 3 + 3) & ~3);
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(height);
    std::string out = "BM";
    put32(out, 54 + pixelBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, pixelBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = 0; y < height; ++y) {
        std::string row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) row[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(x * 30);
        out += row;
    }
    std::ofstream(path, std::ios::binary) << out;
    return path;
}

std::filesystem::path writePDF(const std::filesystem::path& path, int pages) {
    std::vector<std::string> objects;
    std::string kids;
    for (int i = 0; i < pages; ++i) kids += std::to_string(3 + i) + " 0 R ";
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) +
                      " >>");
    for (int i = 0; i < pages; ++i) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>");
    }
    std::ostringstream pdf;
    pdf << "%PDF-1.4\n";
    std::vector<std::streamoff> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.tellp());
        pdf << (i + 1) << " 0 obj\n" << objects[i] << "\nendobj\n";
    }
    const std::streamoff xref = pdf.tellp();
    pdf << "xref\n0 " << objects.size() + 1 << "\n0000000000 65535 f \n";
    for (std::streamoff offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n", static_cast<long long>(offset));
        pdf << entry;
    }
    pdf << "trailer\n<< /Size " << objects.size() + 1 << " /Root 1 0 R >>\nstartxref\n"
        << xref << "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << pdf.str();
    return path;
}

std::filesystem::path writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::filesystem::path corpusDir() { return TAVRINO_CORPUS_DIR; }

bool haveCorpus() { return std::filesystem::is_directory(corpusDir()); }

std::filesystem::path corpusFile(const std::string& relative) { return corpusDir() / relative; }

}  // namespace tavrino::test
