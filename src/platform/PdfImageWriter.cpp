#include "platform/PdfImageWriter.h"

// qpdf 11 warns unless told that we use its std::shared_ptr interfaces only.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <stdexcept>

namespace tavrino {

struct PdfImageWriter::Members {
    QPDF pdf;
    int pages = 0;
};

namespace {

QPDFObjectHandle imageStream(QPDF& pdf, int width, int height, const char* colourSpace,
                             std::string data, const char* filter) {
    QPDFObjectHandle stream = pdf.newStream();
    QPDFObjectHandle dict = stream.getDict();
    dict.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dict.replaceKey("/Subtype", QPDFObjectHandle::newName("/Image"));
    dict.replaceKey("/Width", QPDFObjectHandle::newInteger(width));
    dict.replaceKey("/Height", QPDFObjectHandle::newInteger(height));
    dict.replaceKey("/ColorSpace", QPDFObjectHandle::newName(colourSpace));
    dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
    stream.replaceStreamData(
        std::move(data), filter ? QPDFObjectHandle::newName(filter) : QPDFObjectHandle::newNull(),
        QPDFObjectHandle::newNull());
    return stream;
}

void appendPage(QPDF& pdf, QPDFObjectHandle image, int width, int height) {
    const std::string w = std::to_string(width), h = std::to_string(height);
    QPDFObjectHandle contents = pdf.newStream("q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q");
    QPDFObjectHandle xobjects = QPDFObjectHandle::newDictionary();
    xobjects.replaceKey("/Im0", image);
    QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    QPDFObjectHandle page = QPDFObjectHandle::newDictionary();
    page.replaceKey("/Type", QPDFObjectHandle::newName("/Page"));
    page.replaceKey("/MediaBox",
                    QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(0, 0, width, height)));
    page.replaceKey("/Resources", resources);
    page.replaceKey("/Contents", contents);
    QPDFPageDocumentHelper(pdf).addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
}

// Splits interleaved pixels into the colour samples and the alpha samples.
void splitAlpha(const PixelBuffer& pixels, std::string& colour, std::string& alpha) {
    const int colours = pixels.bands - 1;
    const size_t count = static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height);
    colour.resize(count * static_cast<size_t>(colours));
    alpha.resize(count);
    const std::uint8_t* in = pixels.bytes.data();
    for (size_t i = 0; i < count; ++i) {
        for (int c = 0; c < colours; ++c)
            colour[i * static_cast<size_t>(colours) + static_cast<size_t>(c)] =
                static_cast<char>(*in++);
        alpha[i] = static_cast<char>(*in++);
    }
}

}  // namespace

PdfImageWriter::PdfImageWriter() : members_(std::make_unique<Members>()) {
    members_->pdf.emptyPDF();
}

PdfImageWriter::~PdfImageWriter() = default;

void PdfImageWriter::addPage(const PixelBuffer& pixels) {
    QPDF& pdf = members_->pdf;
    const char* space = pixels.bands <= 2 ? "/DeviceGray" : "/DeviceRGB";
    QPDFObjectHandle image;
    if (pixels.hasAlpha()) {
        std::string colour, alpha;
        splitAlpha(pixels, colour, alpha);
        image = imageStream(pdf, pixels.width, pixels.height, space, std::move(colour), nullptr);
        image.getDict().replaceKey("/SMask", imageStream(pdf, pixels.width, pixels.height,
                                                         "/DeviceGray", std::move(alpha), nullptr));
    } else {
        image = imageStream(pdf, pixels.width, pixels.height, space,
                            std::string(pixels.bytes.begin(), pixels.bytes.end()), nullptr);
    }
    appendPage(pdf, image, pixels.width, pixels.height);
    ++members_->pages;
}

void PdfImageWriter::addJpegPage(std::string jpeg, int width, int height, int components) {
    QPDF& pdf = members_->pdf;
    const char* space = components == 1 ? "/DeviceGray" : "/DeviceRGB";
    appendPage(pdf, imageStream(pdf, width, height, space, std::move(jpeg), "/DCTDecode"), width,
               height);
    ++members_->pages;
}

int PdfImageWriter::pageCount() const {
    return members_->pages;
}

void PdfImageWriter::write(const std::filesystem::path& path) {
    try {
        QPDFWriter writer(members_->pdf, path.c_str());
        writer.setCompressStreams(true);
        writer.write();
    } catch (const std::exception& error) {
        throw std::runtime_error(error.what());
    }
}

std::string jpegWithoutMetadata(const std::string& jpeg) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(jpeg[i]); };
    if (jpeg.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) return {};
    std::string out = jpeg.substr(0, 2);
    size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (byte(at) != 0xFF) return {};
        const unsigned char marker = byte(at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const size_t length = (static_cast<size_t>(byte(at + 2)) << 8) | byte(at + 3);
        if (length < 2 || at + 2 + length > jpeg.size()) return {};
        if (marker == 0xDA) {  // start of scan: the rest is entropy-coded data
            out.append(jpeg, at, std::string::npos);
            return out;
        }
        const bool app = marker >= 0xE0 && marker <= 0xEF;
        const bool keep = !(app && marker != 0xE0 && marker != 0xEE) && marker != 0xFE;
        if (keep) out.append(jpeg, at, 2 + length);
        at += 2 + length;
    }
    return {};
}

}  // namespace tavrino
