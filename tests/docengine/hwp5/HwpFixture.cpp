#include "HwpFixture.h"

#include <gsf/gsf.h>
#include <zlib.h>

#include <map>
#include <stdexcept>

namespace tavrino::docs::hwp5::test {

Writer& Writer::u8(std::uint8_t v) {
    bytes.push_back(v);
    return *this;
}
Writer& Writer::u16(std::uint16_t v) {
    return u8(v & 0xFF).u8(v >> 8);
}
Writer& Writer::u32(std::uint32_t v) {
    return u16(v & 0xFFFF).u16(v >> 16);
}
Writer& Writer::utf16(const std::u16string& text) {
    for (char16_t c : text)
        u16(c);
    return *this;
}
Writer& Writer::bstr(const std::u16string& text) {
    return u16(static_cast<std::uint16_t>(text.size())).utf16(text);
}
Writer& Writer::raw(const Bytes& b) {
    bytes.insert(bytes.end(), b.begin(), b.end());
    return *this;
}
Writer& Writer::zeros(std::size_t n) {
    bytes.insert(bytes.end(), n, 0);
    return *this;
}

Bytes record(std::uint16_t tag, std::uint16_t level, const Bytes& payload) {
    Writer w;
    std::uint32_t size = static_cast<std::uint32_t>(payload.size());
    std::uint32_t header = tag | (std::uint32_t{level} << 10);
    if (size >= 0xFFF) {
        w.u32(header | (0xFFFu << 20)).u32(size);
    } else {
        w.u32(header | (size << 20));
    }
    return w.raw(payload).bytes;
}

Bytes join(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::u16string extendedChar(char16_t code, const char (&id)[5]) {
    std::u16string s(8, u'\0');
    s[0] = s[7] = code;
    // The id is stored as a little-endian UINT32 of (c0 << 24 | c1 << 16 | c2 << 8 | c3).
    s[1] = static_cast<char16_t>((std::uint8_t(id[2]) << 8) | std::uint8_t(id[3]));
    s[2] = static_cast<char16_t>((std::uint8_t(id[0]) << 8) | std::uint8_t(id[1]));
    return s;
}

Bytes paragraph(std::uint16_t level, const std::u16string& text, bool last, const Bytes& children) {
    std::u16string full = text + u'\r';
    Writer header;
    header.u32(static_cast<std::uint32_t>(full.size()) | (last ? 0x80000000u : 0))
        .u32(0)
        .u16(0)
        .u8(0)
        .u8(0)
        .u16(1)
        .u16(0)
        .u16(0)
        .u32(0);
    Writer text16;
    text16.utf16(full);
    Writer shapes;
    shapes.u32(0).u32(0);
    return join({record(66, level, header.bytes), record(67, level + 1, text16.bytes),
                 record(68, level + 1, shapes.bytes), children});
}

Bytes table(std::uint16_t level, std::uint16_t rows, std::uint16_t columns,
            const std::u16string& cellText) {
    Writer ctrl;
    ctrl.u32(0x74626C20).u32(0).zeros(8).u32(1000).u32(1000).zeros(4 + 8 + 4 + 4).u16(0);
    Writer t;
    t.u32(0).u16(rows).u16(columns).u16(0).zeros(8);
    for (int r = 0; r < rows; ++r)
        t.u16(columns);
    t.u16(1);
    std::vector<Bytes> parts{record(71, level, ctrl.bytes), record(77, level + 1, t.bytes)};
    for (std::uint16_t r = 0; r < rows; ++r) {
        for (std::uint16_t c = 0; c < columns; ++c) {
            Writer cell;
            cell.u16(1).u16(0).u32(0).u16(c).u16(r).u16(1).u16(1).u32(500).u32(500).zeros(8).u16(1);
            parts.push_back(record(72, level + 1, cell.bytes));
            parts.push_back(paragraph(level + 1, cellText, true));
        }
    }
    return join(parts);
}

Bytes fileHeader(std::uint32_t properties, std::uint32_t version) {
    Writer w;
    std::string signature = "HWP Document File";
    for (char c : signature)
        w.u8(static_cast<std::uint8_t>(c));
    w.zeros(32 - signature.size()).u32(version).u32(properties).u32(0).u32(4).zeros(256 - 48);
    return w.bytes;
}

Bytes minimalDocInfo() {
    Writer props;
    props.u16(1).zeros(24);
    return record(16, 0, props.bytes);
}

Bytes compoundFile(const std::vector<std::pair<std::string, Bytes>>& streams) {
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* root = gsf_outfile_msole_new(sink);
    std::map<std::string, GsfOutfile*> storages;
    for (const auto& [path, data] : streams) {
        GsfOutfile* dir = root;
        std::string name = path;
        if (auto slash = path.find('/'); slash != std::string::npos) {
            std::string storage = path.substr(0, slash);
            name = path.substr(slash + 1);
            auto& slot = storages[storage];
            if (!slot) slot = GSF_OUTFILE(gsf_outfile_new_child(root, storage.c_str(), TRUE));
            dir = slot;
        }
        GsfOutput* out = gsf_outfile_new_child(dir, name.c_str(), FALSE);
        if (!data.empty()) gsf_output_write(out, data.size(), data.data());
        gsf_output_close(out);
        g_object_unref(out);
    }
    for (auto& [name, dir] : storages) {
        gsf_output_close(GSF_OUTPUT(dir));
        g_object_unref(dir);
    }
    gsf_output_close(GSF_OUTPUT(root));
    g_object_unref(root);
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
    Bytes out(bytes, bytes + gsf_output_size(sink));
    g_object_unref(sink);
    return out;
}

Bytes hwpDocument(const std::vector<Bytes>& sections, std::uint32_t properties,
                  const Bytes& docInfo) {
    std::vector<std::pair<std::string, Bytes>> streams{{"FileHeader", fileHeader(properties)},
                                                       {"DocInfo", docInfo}};
    for (std::size_t i = 0; i < sections.size(); ++i)
        streams.emplace_back("BodyText/Section" + std::to_string(i), sections[i]);
    return compoundFile(streams);
}

Bytes deflateRaw(const Bytes& data) {
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    Bytes out(deflateBound(&z, data.size()));
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

}  // namespace tavrino::docs::hwp5::test
