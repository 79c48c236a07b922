#include "support/Fixtures.h"

#include <vips/vips.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/Bmp.h"
#include "platform/Vips.h"

namespace fs = std::filesystem;

namespace tavrino::test {
namespace {

void check(int status, const char* what) {
    if (status != 0) {
        const std::string message = std::string(what) + ": " + vips_error_buffer();
        vips_error_clear();
        throw std::runtime_error(message);
    }
}

// Red rises to the right, green downward, blue is constant; alpha as writePicture says.
VipsImageRef gradient(int width, int height, int bands) {
    ensureVips();
    VipsImageRef xy, scaled, colour, cast;
    check(vips_xyz(xy.out(), width, height, nullptr), "xyz");
    double scale[] = {255.0 / std::max(width, 1), 255.0 / std::max(height, 1)};
    double offset[] = {0, 0};
    check(vips_linear(xy.get(), scaled.out(), scale, offset, 2, nullptr), "linear");
    check(vips_bandjoin_const1(scaled.get(), colour.out(), 128, nullptr), "bandjoin");
    check(vips_cast(colour.get(), cast.out(), VIPS_FORMAT_UCHAR, nullptr), "cast");
    cast.get()->Type = VIPS_INTERPRETATION_sRGB;
    VipsImageRef result = std::move(cast);
    if (bands <= 2) {
        VipsImageRef grey;
        check(vips_colourspace(result.get(), grey.out(), VIPS_INTERPRETATION_B_W, nullptr), "grey");
        result = std::move(grey);
    }
    if (bands == 2 || bands == 4) {
        VipsImageRef x, mask, alpha, joined;
        check(vips_xyz(x.out(), width, height, nullptr), "xyz");
        check(vips_extract_band(x.get(), mask.out(), 0, nullptr), "band");
        check(vips_more_const1(mask.get(), alpha.out(), width / 2.0 - 0.5, nullptr), "more");
        check(vips_bandjoin2(result.get(), alpha.get(), joined.out(), nullptr), "alpha");
        result = std::move(joined);
    }
    return result;
}

bool isBmp(const fs::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".bmp";
}

void save(VipsImage* image, const fs::path& file) {
    if (isBmp(file)) {
        size_t size = 0;
        void* memory = vips_image_write_to_memory(image, &size);
        if (!memory) check(-1, "memory");
        PixelBuffer pixels{vips_image_get_width(image),
                           vips_image_get_height(image),
                           vips_image_get_bands(image),
                           {}};
        pixels.bytes.assign(static_cast<std::uint8_t*>(memory),
                            static_cast<std::uint8_t*>(memory) + size);
        g_free(memory);
        if (!encodeBmpFile(pixels, file)) throw std::runtime_error("bmp");
        return;
    }
    check(vips_image_write_to_file(image, file.c_str(), nullptr), "save");
}

}  // namespace

void writePicture(const fs::path& file, int width, int height, int bands) {
    VipsImageRef image = gradient(width, height, bands);
    save(image.get(), file);
}

std::string pngClaimingSize(const fs::path& scratch, std::uint32_t width, std::uint32_t height) {
    writePicture(scratch, 320, 240, 3);
    std::string png = readBytes(scratch);
    fs::remove(scratch);
    const auto put32 = [&](size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            png[at + static_cast<size_t>(i)] = static_cast<char>(value >> (24 - 8 * i));
    };
    put32(16, width);
    put32(20, height);
    std::uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 12; i < 29; ++i) {
        crc ^= static_cast<unsigned char>(png[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    put32(29, ~crc);
    return png;
}

void writeMultiPage(const fs::path& file, int pages, int width, int height) {
    VipsImageRef image = gradient(width, height * pages, 3);
    VipsImageRef copy;
    check(vips_copy(image.get(), copy.out(), nullptr), "copy");
    vips_image_set_int(copy.get(), "page-height", height);
    save(copy.get(), file);
}

PdfPage blackPage(double width, double height) {
    std::ostringstream box, content;
    box << "0 0 " << width << " " << height;
    content << "0 g 0 0 " << width << " " << height << " re f";
    return {box.str(), content.str()};
}

std::string pdfBytes(const std::vector<PdfPage>& pages) {
    std::vector<std::string> objects;
    std::string kids;
    const size_t firstPage = 3;
    for (size_t i = 0; i < pages.size(); ++i) {
        kids += std::to_string(firstPage + 2 * i) + " 0 R ";
    }
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    for (size_t i = 0; i < pages.size(); ++i) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [" + pages[i].mediaBox +
                          "] /Contents " + std::to_string(firstPage + 2 * i + 1) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(pages[i].content.size()) +
                          " >>\nstream\n" + pages[i].content + "\nendstream");
    }
    return pdfFromObjects(objects);
}

std::string pdfFromObjects(const std::vector<std::string>& objects) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\n";
    pdf += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<int> pixelAt(const fs::path& file, int x, int y) {
    if (isBmp(file)) {
        const auto pixels = decodeBmpFile(file);
        if (!pixels) throw std::runtime_error("bmp");
        const size_t at = (static_cast<size_t>(y) * pixels->width + x) * pixels->bands;
        return {pixels->bytes.begin() + static_cast<long>(at),
                pixels->bytes.begin() + static_cast<long>(at) + pixels->bands};
    }
    ensureVips();
    VipsImageRef image(vips_image_new_from_file(file.c_str(), nullptr));
    if (!image) check(-1, "open");
    double* values = nullptr;
    int count = 0;
    check(vips_getpoint(image.get(), &values, &count, x, y, nullptr), "getpoint");
    std::vector<int> result(values, values + count);
    g_free(values);
    return result;
}

}  // namespace tavrino::test
