// HEIF/HEIC item edit (ISO/IEC 14496-12 boxes, ISO/IEC 23008-12 items). Metadata of a HEIF
// file is stored as items of the top-level meta box: an 'Exif' item, and XMP as a 'mime' item
// of content type application/rdf+xml. Each item has an entry in iinf (its type), in iloc
// (where its bytes are), possibly in iref (a 'cdsc' link to the picture it describes) and in
// ipma (its properties). Dropping an item means removing it from those tables and wiping its
// bytes. The rebuilt meta box is padded with a 'free' box to its old size, so that no other
// offset in the file moves.

#include <algorithm>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <vector>

#include "tools/LosslessStrip.h"

namespace tavrino {
namespace {

struct Box {
    std::string_view type;
    std::string_view whole;    // header and content
    std::string_view content;  // after the header
    size_t offset = 0;         // of `whole` within the buffer it was read from
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool has(size_t n) const { return at_ <= bytes_.size() && bytes_.size() - at_ >= n; }
    std::uint64_t uint(size_t n) {
        if (!has(n)) throw std::out_of_range("short box");
        std::uint64_t value = 0;
        for (size_t i = 0; i < n; ++i)
            value = value << 8 | static_cast<std::uint8_t>(bytes_[at_ + i]);
        at_ += n;
        return value;
    }
    std::string_view take(size_t n) {
        if (!has(n)) throw std::out_of_range("short box");
        at_ += n;
        return bytes_.substr(at_ - n, n);
    }
    std::string_view cstring() {
        const size_t end = bytes_.find('\0', at_);
        if (end == std::string_view::npos) throw std::out_of_range("unterminated string");
        const std::string_view text = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        return text;
    }
    size_t position() const { return at_; }
    bool done() const { return at_ >= bytes_.size(); }
    std::string_view rest() const { return bytes_.substr(at_); }

  private:
    std::string_view bytes_;
    size_t at_ = 0;
};

std::vector<Box> boxesIn(std::string_view bytes) {
    std::vector<Box> boxes;
    Reader reader(bytes);
    while (!reader.done()) {
        const size_t start = reader.position();
        std::uint64_t size = reader.uint(4);
        const std::string_view type = reader.take(4);
        if (size == 1) size = reader.uint(8);
        if (size == 0) size = bytes.size() - start;
        const size_t header = reader.position() - start;
        if (size < header || size > bytes.size() - start) throw std::out_of_range("box size");
        reader.take(static_cast<size_t>(size) - header);
        const std::string_view whole = bytes.substr(start, static_cast<size_t>(size));
        boxes.push_back({type, whole, whole.substr(header), start});
    }
    return boxes;
}

std::string uintBytes(std::uint64_t value, size_t n) {
    std::string out;
    for (size_t i = n; i-- > 0;)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
    return out;
}

std::string box(std::string_view type, std::string_view content) {
    return uintBytes(content.size() + 8, 4) + std::string(type) + std::string(content);
}

bool isMetadataItem(std::string_view infe) {
    Reader r(infe);
    const auto version = r.uint(1);
    r.take(3);
    if (version < 2) return false;
    r.uint(version == 2 ? 2 : 4);  // item_ID
    r.uint(2);                     // item_protection_index
    const std::string_view type = r.take(4);
    if (type == "Exif") return true;
    if (type != "mime") return false;
    r.cstring();  // item_name
    return r.cstring() == "application/rdf+xml";
}

std::uint32_t infeItemID(std::string_view infe) {
    Reader r(infe);
    const auto version = r.uint(1);
    r.take(3);
    return static_cast<std::uint32_t>(r.uint(version == 3 ? 4 : 2));
}

// Item IDs of Exif and XMP items, and iinf rebuilt without their entries.
std::string filteredIinf(std::string_view content, std::set<std::uint32_t>& dropped) {
    Reader r(content);
    const auto version = r.uint(1);
    const std::string_view flags = r.take(3);
    r.uint(version == 0 ? 2 : 4);
    std::string kept;
    std::uint32_t count = 0;
    for (const Box& entry : boxesIn(r.rest())) {
        if (entry.type == "infe" && isMetadataItem(entry.content)) {
            dropped.insert(infeItemID(entry.content));
        } else {
            kept.append(entry.whole);
            ++count;
        }
    }
    return std::string(1, static_cast<char>(version)) + std::string(flags) +
           uintBytes(count, version == 0 ? 2 : 4) + kept;
}

struct Extent {
    int method;  // 0: offset in the file, 1: offset in the idat box
    std::uint64_t offset, length;
};

// The extents of dropped items go to `wiped`, those of the others to `kept`.
std::string filteredIloc(std::string_view content, const std::set<std::uint32_t>& dropped,
                         std::vector<Extent>& wiped, std::vector<Extent>& kept) {
    Reader r(content);
    const auto version = r.uint(1);
    r.take(3);
    const auto sizes = r.uint(1), moreSizes = r.uint(1);
    const size_t offsetSize = sizes >> 4, lengthSize = sizes & 15, baseSize = moreSizes >> 4;
    const size_t indexSize = version >= 1 ? (moreSizes & 15) : 0;
    const size_t idSize = version < 2 ? 2 : 4;
    const size_t headerEnd = r.position();
    const auto itemCount = r.uint(idSize);
    std::string entries;
    std::uint64_t keptCount = 0;
    for (std::uint64_t i = 0; i < itemCount; ++i) {
        const size_t start = r.position();
        const auto id = static_cast<std::uint32_t>(r.uint(idSize));
        const int method = version >= 1 ? static_cast<int>(r.uint(2) & 15) : 0;
        r.uint(2);  // data_reference_index
        const auto base = r.uint(baseSize);
        const auto extents = r.uint(2);
        std::vector<Extent> found;
        for (std::uint64_t e = 0; e < extents; ++e) {
            r.uint(indexSize);
            const auto offset = r.uint(offsetSize);
            found.push_back({method, base + offset, r.uint(lengthSize)});
        }
        if (dropped.contains(id)) {
            wiped.insert(wiped.end(), found.begin(), found.end());
        } else {
            kept.insert(kept.end(), found.begin(), found.end());
            entries.append(content.substr(start, r.position() - start));
            ++keptCount;
        }
    }
    return std::string(content.substr(0, headerEnd)) + uintBytes(keptCount, idSize) + entries;
}

std::string filteredIref(std::string_view content, const std::set<std::uint32_t>& dropped) {
    Reader r(content);
    const auto version = r.uint(1);
    r.take(3);
    const size_t idSize = version == 0 ? 2 : 4;
    std::string out(content.substr(0, 4));
    for (const Box& reference : boxesIn(r.rest())) {
        Reader refs(reference.content);
        const auto from = static_cast<std::uint32_t>(refs.uint(idSize));
        const auto count = refs.uint(2);
        std::string to;
        std::uint64_t keptCount = 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto id = static_cast<std::uint32_t>(refs.uint(idSize));
            if (!dropped.contains(id)) {
                to += uintBytes(id, idSize);
                ++keptCount;
            }
        }
        if (dropped.contains(from) || keptCount == 0) continue;
        out += box(reference.type, uintBytes(from, idSize) + uintBytes(keptCount, 2) + to);
    }
    return out;
}

std::string filteredIpma(std::string_view content, const std::set<std::uint32_t>& dropped) {
    Reader r(content);
    const auto version = r.uint(1);
    const auto flags = r.uint(3);
    const auto count = r.uint(4);
    std::string kept;
    std::uint64_t keptCount = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        const size_t start = r.position();
        const auto id = static_cast<std::uint32_t>(r.uint(version < 1 ? 2 : 4));
        const auto associations = r.uint(1);
        r.take(static_cast<size_t>(associations) * ((flags & 1) ? 2 : 1));
        if (dropped.contains(id)) continue;
        kept.append(content.substr(start, r.position() - start));
        ++keptCount;
    }
    return std::string(content.substr(0, 4)) + uintBytes(keptCount, 4) + kept;
}

std::string filteredIprp(std::string_view content, const std::set<std::uint32_t>& dropped) {
    std::string out;
    for (const Box& child : boxesIn(content)) {
        out += child.type == "ipma" ? box("ipma", filteredIpma(child.content, dropped))
                                    : std::string(child.whole);
    }
    return out;
}

struct MetaEdit {
    std::string content;        // the new meta content, before padding
    std::vector<Extent> wiped;  // the bytes of the dropped items
    std::vector<Extent> kept;   // the bytes of every other item
    size_t idatData = 0;        // where idat's data starts within the new meta content
};

MetaEdit editedMeta(std::string_view meta) {
    MetaEdit edit;
    edit.content = std::string(meta.substr(0, 4));
    const std::vector<Box> children = boxesIn(meta.substr(4));
    std::set<std::uint32_t> dropped;
    for (const Box& child : children) {
        if (child.type == "iinf") filteredIinf(child.content, dropped);
    }
    for (const Box& child : children) {
        const std::string_view type = child.type;
        if (type == "idat") {
            edit.idatData = edit.content.size() + (child.whole.size() - child.content.size());
        }
        if (type == "iinf")
            edit.content += box(type, filteredIinf(child.content, dropped));
        else if (type == "iloc")
            edit.content += box(type, filteredIloc(child.content, dropped, edit.wiped, edit.kept));
        else if (type == "iref")
            edit.content += box(type, filteredIref(child.content, dropped));
        else if (type == "iprp")
            edit.content += box(type, filteredIprp(child.content, dropped));
        else
            edit.content.append(child.whole);
    }
    return edit;
}

void wipe(std::string& bytes, size_t from, std::uint64_t offset, std::uint64_t length,
          size_t limit) {
    if (offset > limit - from || length > limit - from - offset) throw std::out_of_range("extent");
    std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(from + offset),
                static_cast<std::ptrdiff_t>(length), '\0');
}

}  // namespace

std::optional<std::string> strippedHeif(std::string_view heif) {
    try {
        const std::vector<Box> top = boxesIn(heif);
        if (top.empty() || top.front().type != "ftyp") return std::nullopt;
        const Box* meta = nullptr;
        for (const Box& b : top) {
            if (b.type == "meta") meta = &b;
        }
        if (!meta) return std::nullopt;
        const MetaEdit edit = editedMeta(meta->content);
        // A file cut short loses the data of its pictures; it must not pass as stripped.
        for (const Extent& e : edit.kept) {
            if (e.method == 0 && (e.offset > heif.size() || e.length > heif.size() - e.offset)) {
                return std::nullopt;
            }
        }
        const size_t header = meta->whole.size() - meta->content.size();
        const size_t room = meta->content.size() - edit.content.size();
        if (room != 0 && room < 8) return std::nullopt;  // a free box needs its 8-byte header
        std::string newContent = edit.content;
        if (room != 0) newContent += box("free", std::string(room - 8, '\0'));
        std::string out(heif);
        out.replace(meta->offset + header, meta->content.size(), newContent);
        for (const Extent& e : edit.wiped) {
            if (e.method == 0) wipe(out, 0, e.offset, e.length, out.size());
            // Bytes of an item stored in idat, which was copied unchanged into the new meta.
            if (e.method == 1 && edit.idatData) {
                wipe(out, meta->offset + header + edit.idatData, e.offset, e.length, out.size());
            }
        }
        return out;
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

}  // namespace tavrino
