#include "platform/PngWriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/CoreShare.h"

namespace tavrino {
namespace {

// The zlib level and Paeth filter that the single-core encoder used: the file sizes stay
// where they were, the time goes down with the number of cores.
constexpr int compressionLevel = 3;
constexpr std::size_t dictionaryBytes = 32768;
// A quarter megabyte of pixels per piece: enough work per piece that splitting costs nothing
// measurable, small enough that the pieces in flight (twice the workers, each with its
// filtered copy and output) stay a few megabytes beside the picture itself.
constexpr std::size_t stripeBytes = 1 << 18;

using Bytes = std::vector<std::uint8_t>;

void putBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint8_t paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// One filtered row into `out`: filter type 4 (Paeth), then each byte minus its Paeth
// predictor from the byte `bands` to the left, the byte above and the one above-left (zero
// outside the picture). Writes length + 1 bytes.
void filterRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t length, int bands,
               std::uint8_t* out) {
    *out++ = 4;
    const std::size_t left = static_cast<std::size_t>(bands);
    const std::size_t edge = std::min(left, length);
    for (std::size_t i = 0; i < edge; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - paeth(0, above ? above[i] : 0, 0));
    if (!above) {
        for (std::size_t i = edge; i < length; ++i)
            out[i] = static_cast<std::uint8_t>(row[i] - row[i - left]);
        return;
    }
    for (std::size_t i = edge; i < length; ++i)
        out[i] =
            static_cast<std::uint8_t>(row[i] - paeth(row[i - left], above[i], above[i - left]));
}

// A stripe with the rows before it that it needs: `context` rows whose filtered bytes prime
// the dictionary (the first of them, when there is one before, only serves as the row above).
struct Piece {
    Bytes rows;
    int contextRows = 0;
    bool hasRowAbove = false;  // rows[0] is the row above the context, not filtered itself
    bool last = false;
};

struct Compressed {
    Bytes data;
    std::uint32_t adler = 1;
    std::size_t filteredLength = 0;
    bool ok = false;
};

// What one worker needs to deflate its pieces, kept from piece to piece: a fresh deflate
// state and fresh buffers per piece would mean a few hundred kilobytes of new zeroed pages
// every quarter megabyte of picture, a cost that shows once several pictures are in flight.
class PieceEncoder {
  public:
    PieceEncoder() {
        ready_ = deflateInit2(&stream_, compressionLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) ==
                 Z_OK;
    }
    ~PieceEncoder() {
        if (ready_) deflateEnd(&stream_);
    }
    PieceEncoder(const PieceEncoder&) = delete;
    PieceEncoder& operator=(const PieceEncoder&) = delete;

    Compressed compress(const Piece& piece, std::size_t rowBytes, int bands) {
        Compressed result;
        if (!ready_ || deflateReset(&stream_) != Z_OK) return result;
        const std::size_t rowCount = piece.rows.size() / rowBytes;
        const std::size_t first = piece.hasRowAbove ? 1 : 0;
        std::uint8_t* filtered = room(filtered_, (rowCount - first) * (rowBytes + 1));
        for (std::size_t r = first; r < rowCount; ++r) {
            const std::uint8_t* row = piece.rows.data() + r * rowBytes;
            filterRow(row, r > 0 ? row - rowBytes : nullptr, rowBytes, bands,
                      filtered + (r - first) * (rowBytes + 1));
        }
        const std::size_t contextLength =
            static_cast<std::size_t>(piece.contextRows) * (rowBytes + 1);
        const std::uint8_t* own = filtered + contextLength;
        result.filteredLength = (rowCount - first) * (rowBytes + 1) - contextLength;
        result.adler = static_cast<std::uint32_t>(
            adler32_z(adler32_z(0, nullptr, 0), own, result.filteredLength));
        if (contextLength > 0) {
            const std::size_t used = std::min(contextLength, dictionaryBytes);
            deflateSetDictionary(&stream_, own - used, static_cast<uInt>(used));
        }
        const std::size_t bound = deflateBound(&stream_, result.filteredLength) + 16;
        std::uint8_t* out = room(output_, bound);
        stream_.next_in = const_cast<std::uint8_t*>(own);
        stream_.avail_in = static_cast<uInt>(result.filteredLength);
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(bound);
        const int status = deflate(&stream_, piece.last ? Z_FINISH : Z_SYNC_FLUSH);
        result.ok = piece.last ? status == Z_STREAM_END : status == Z_OK && stream_.avail_in == 0;
        // A piece waiting for its turn to be written keeps only what it holds.
        result.data.assign(out, out + (bound - stream_.avail_out));
        return result;
    }

  private:
    struct Buffer {
        std::unique_ptr<std::uint8_t[]> data;
        std::size_t size = 0;
    };

    // At least `size` bytes of `buffer`, grown when needed; left uninitialised, since every
    // byte used is written first.
    static std::uint8_t* room(Buffer& buffer, std::size_t size) {
        if (buffer.size < size) {
            buffer.data = std::make_unique_for_overwrite<std::uint8_t[]>(size);
            buffer.size = size;
        }
        return buffer.data.get();
    }

    z_stream stream_{};
    bool ready_ = false;
    Buffer filtered_;
    Buffer output_;
};

}  // namespace

struct PngWriter::Members {
    std::ofstream file;
    int width = 0;
    int height = 0;
    int bands = 0;
    std::size_t rowBytes = 0;
    int rowsAdded = 0;
    bool ok = true;
    // The last rows added, kept for the next piece's context.
    Bytes tail;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::pair<std::size_t, Piece>> queue;
    std::map<std::size_t, Compressed> done;
    std::size_t nextPiece = 0;
    std::size_t nextToWrite = 0;
    bool stopping = false;
    std::vector<std::thread> workers;
    // Workers numbered below `active` take pieces; the others wait until the job's share of
    // the cores grows again. Threads are only ever added, so a share that shrinks and grows
    // back costs no new thread.
    unsigned active = 1;
    bool followShare = false;
    std::uint32_t adler = 1;

    // Called with the mutex held.
    void setActive(unsigned wanted) {
        wanted = std::max(1u, wanted);
        while (workers.size() < wanted) {
            const auto id = static_cast<unsigned>(workers.size());
            workers.emplace_back([this, id] { work(id); });
        }
        active = wanted;
    }

    // A job that follows its share takes the cores a finished neighbour gave back (or gives
    // cores to a new one) between pieces.
    void rebalance() {
        if (!followShare) return;
        const unsigned wanted = coresPerJob();
        std::lock_guard lock(mutex);
        if (wanted == active) return;
        setActive(wanted);
        changed.notify_all();
    }

    void work(unsigned id) {
        PieceEncoder encoder;
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stopping || (!queue.empty() && id < active); });
            if (queue.empty()) return;
            auto [index, piece] = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            Compressed result = encoder.compress(piece, rowBytes, bands);
            lock.lock();
            done.emplace(index, std::move(result));
            changed.notify_all();
        }
    }

    void writeChunk(const char* type, const Bytes& data) {
        Bytes header;
        putBigEndian(header, static_cast<std::uint32_t>(data.size()));
        std::uint32_t crc =
            static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(type), 4));
        // crc32 of a null buffer answers its initial value rather than carrying on.
        if (!data.empty()) {
            crc = static_cast<std::uint32_t>(crc32_z(crc, data.data(), data.size()));
        }
        file.write(reinterpret_cast<const char*>(header.data()), 4);
        file.write(type, 4);
        file.write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
        Bytes trailer;
        putBigEndian(trailer, crc);
        file.write(reinterpret_cast<const char*>(trailer.data()), 4);
    }

    // Writes the finished pieces that are next in order; with `waitForAll`, until none is
    // left, otherwise until few enough are pending. Called without the mutex held.
    void drain(bool waitForAll) {
        for (;;) {
            std::unique_lock lock(mutex);
            const std::size_t limit = waitForAll ? 0 : 2 * std::size_t{active};
            if (nextPiece - nextToWrite <= limit) return;
            changed.wait(lock, [&] { return done.count(nextToWrite) > 0; });
            Compressed piece = std::move(done.at(nextToWrite));
            done.erase(nextToWrite);
            lock.unlock();
            writePiece(std::move(piece));
        }
    }

    void writePiece(Compressed piece) {
        ok = ok && piece.ok;
        Bytes data;
        if (nextToWrite == 0) data = {0x78, 0x5E};  // zlib header: deflate, 32 KB window, level 3
        data.insert(data.end(), piece.data.begin(), piece.data.end());
        adler = static_cast<std::uint32_t>(
            adler32_combine(adler, piece.adler, static_cast<z_off_t>(piece.filteredLength)));
        ++nextToWrite;
        if (nextToWrite == nextPiece && rowsAdded == height) putBigEndian(data, adler);
        writeChunk("IDAT", data);
    }
};

PngWriter::PngWriter(const std::filesystem::path& path, int width, int height, int bands,
                     unsigned workers)
    : members_(std::make_unique<Members>()) {
    Members& m = *members_;
    m.width = width;
    m.height = height;
    m.bands = bands;
    m.rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bands);
    m.followShare = workers == 0;
    m.file.open(path, std::ios::binary | std::ios::trunc);
    m.ok = m.file.is_open() && width > 0 && height > 0 && bands >= 1 && bands <= 4;
    if (!m.ok) return;
    static constexpr std::array<std::uint8_t, 5> colourTypes{0, 0, 4, 2, 6};
    m.file.write("\x89PNG\r\n\x1a\n", 8);
    Bytes header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    // 8 bits, colour type, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, colourTypes[static_cast<std::size_t>(bands)], 0, 0, 0});
    m.writeChunk("IHDR", header);
    std::lock_guard lock(m.mutex);
    m.setActive(m.followShare ? coresPerJob() : workers);
}

PngWriter::~PngWriter() {
    Members& m = *members_;
    {
        std::lock_guard lock(m.mutex);
        m.stopping = true;
        m.queue.clear();
    }
    m.changed.notify_all();
    for (std::thread& worker : m.workers)
        worker.join();
}

int PngWriter::stripeRows() const {
    const std::size_t rowBytes = std::max<std::size_t>(members_->rowBytes, 1);
    return static_cast<int>(std::max<std::size_t>(1, stripeBytes / rowBytes));
}

void PngWriter::addRows(const PixelView& rows) {
    Members& m = *members_;
    if (rows.height == 0) return;
    if (!m.ok || rows.width != m.width || rows.bands != m.bands ||
        rows.height > m.height - m.rowsAdded) {
        m.ok = false;
        return;
    }
    const std::size_t contextRows =
        m.tail.empty() ? 0 : std::min(m.tail.size() / m.rowBytes, dictionaryBytes / m.rowBytes + 1);
    Piece piece;
    piece.hasRowAbove = m.tail.size() / m.rowBytes > contextRows;
    const std::size_t keep = (contextRows + (piece.hasRowAbove ? 1 : 0)) * m.rowBytes;
    piece.rows.assign(m.tail.end() - static_cast<std::ptrdiff_t>(keep), m.tail.end());
    piece.contextRows = static_cast<int>(contextRows);
    const std::size_t length = rows.rowBytes() * static_cast<std::size_t>(rows.height);
    piece.rows.insert(piece.rows.end(), rows.data, rows.data + length);
    m.rowsAdded += rows.height;
    piece.last = m.rowsAdded == m.height;
    // The next piece needs the dictionary's worth of rows and the one above them.
    const std::size_t tailRows =
        std::min<std::size_t>(piece.rows.size() / m.rowBytes, dictionaryBytes / m.rowBytes + 2);
    m.tail.assign(piece.rows.end() - static_cast<std::ptrdiff_t>(tailRows * m.rowBytes),
                  piece.rows.end());
    m.rebalance();
    {
        std::lock_guard lock(m.mutex);
        m.queue.emplace_back(m.nextPiece++, std::move(piece));
    }
    m.changed.notify_all();
    m.drain(false);
}

unsigned PngWriter::activeWorkers() const {
    std::lock_guard lock(members_->mutex);
    return members_->active;
}

bool PngWriter::finish() {
    Members& m = *members_;
    if (!m.ok || m.rowsAdded != m.height) return false;
    m.drain(true);
    m.writeChunk("IEND", {});
    m.file.close();
    return m.ok && !m.file.fail();
}

}  // namespace tavrino
