#include "platform/core/ReplayFile.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace platform::replay {
namespace {

constexpr unsigned char kMagic[8] = {'K', 'E', 'L', 'V', 'O', 'R', 'E', 'C'};
constexpr std::size_t kLongestVersion = 64;
constexpr int kLargestStage = 16384;  // pixels

}  // namespace

const char* RecName(Rec kind) {
    switch (kind) {
    case Rec::Tick: return "a timer's tick";
    case Rec::MouseDown: return "a mouse press";
    case Rec::MouseUp: return "a mouse release";
    case Rec::Key: return "a key";
    case Rec::Activate: return "a click into a window";
    case Rec::Close: return "a window's close button";
    case Rec::Menu: return "a menu";
    case Rec::SessionEnd: return "the session's end";
    case Rec::Update: return "an activation update";
    case Rec::ModalEnd: return "the end of a modal window";
    case Rec::EventsDone: return "the end of a pass over the events";
    case Rec::MsgBoxClosed: return "a message box closed";
    case Rec::InputAnswer: return "an input box's answer";
    case Rec::Finished: return "the program's end";
    case Rec::Time: return "the time";
    case Rec::Geometry: return "a window's place and size";
    case Rec::Check: return "a check of the game's state";
    case Rec::Checkpoint: return "a checkpoint";
    case Rec::Seed: return "the generator's seed";
    case Rec::Text: return "a text's size";
    case Rec::Picture: return "a picture's size";
    case Rec::TimeOfDay: return "the time of day";
    }
    return "an unknown record";
}

// --- Writing -----------------------------------------------------------------

struct Writer::Deflate {
    z_stream z{};
    bool ready = false;
    ~Deflate() {
        if (ready) deflateEnd(&z);
    }
};

Writer::Writer() : z_(std::make_unique<Deflate>()) {}

Writer::~Writer() {
    if (fd_ >= 0) close(fd_);
}

bool Writer::create(const std::string& path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    // Raw deflate, a 32 kB window: small and quick for a stream this regular.
    if (deflateInit2(&z_->z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        error_ = "out of memory";
        return false;
    }
    z_->ready = true;
    return true;
}

void Writer::header(const Header& h) {
    std::vector<unsigned char> out(kMagic, kMagic + sizeof kMagic);
    auto u16 = [&out](unsigned v) {
        out.push_back(static_cast<unsigned char>(v & 0xFF));
        out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    };
    u16(kFormat);
    const std::string version = h.programVersion.substr(0, kLongestVersion);
    out.push_back(static_cast<unsigned char>(version.size()));
    out.insert(out.end(), version.begin(), version.end());
    u16(static_cast<unsigned>(h.stageWidthPx));
    u16(static_cast<unsigned>(h.stageHeightPx));
    out.push_back(static_cast<unsigned char>((h.fullScreen ? 1 : 0) | (h.fromTest ? 2 : 0)));
    for (float f : {h.screenWidth, h.screenHeight}) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(bits >> (8 * i)));
    }
    writeOut(out.data(), out.size());
}

void Writer::varint(std::uint64_t v) {
    while (v >= 0x80) {
        pending_.push_back(static_cast<unsigned char>(v | 0x80));
        v >>= 7;
    }
    pending_.push_back(static_cast<unsigned char>(v));
}

void Writer::f32(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 4; ++i) pending_.push_back(static_cast<unsigned char>(bits >> (8 * i)));
}

void Writer::u64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) pending_.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void Writer::text(const std::string& s) {
    varint(s.size());
    pending_.insert(pending_.end(), s.begin(), s.end());
}

bool Writer::writeOut(const unsigned char* data, std::size_t size) {
    while (size > 0 && error_.empty()) {
        const ssize_t n = ::write(fd_, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = std::strerror(n < 0 ? errno : ENOSPC);
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        written_ += static_cast<std::uint64_t>(n);
    }
    return error_.empty();
}

bool Writer::flush(bool last) {
    if (!z_->ready || !error_.empty()) return false;
    unsigned char out[16384];
    z_->z.next_in = pending_.data();
    z_->z.avail_in = static_cast<uInt>(pending_.size());
    int status = Z_OK;
    do {
        z_->z.next_out = out;
        z_->z.avail_out = sizeof out;
        status = deflate(&z_->z, last ? Z_FINISH : Z_SYNC_FLUSH);
        if (!writeOut(out, sizeof out - z_->z.avail_out)) return false;
    } while (z_->z.avail_out == 0 || (last && status == Z_OK));
    pending_.clear();
    if (last) {
        deflateEnd(&z_->z);
        z_->ready = false;
    }
    return true;
}

// --- Reading -----------------------------------------------------------------

struct Reader::Inflate {
    z_stream z{};
    bool ready = false;
    FILE* file = nullptr;
    std::vector<unsigned char> bytes;  // all of it, or the last piece read from the file
    std::size_t at = 0;
    std::uint64_t consumed = 0;  // bytes of the file taken before `bytes`
    bool streamEnded = false;
    ~Inflate() {
        if (ready) inflateEnd(&z);
        if (file) std::fclose(file);
    }
    // More raw bytes from the file; false at its end.
    bool fill() {
        if (!file) return false;
        consumed += bytes.size();
        bytes.resize(16384);
        const std::size_t n = std::fread(bytes.data(), 1, bytes.size(), file);
        bytes.resize(n);
        at = 0;
        return n > 0;
    }
    bool raw(unsigned char& b) {
        if (at == bytes.size() && !fill()) return false;
        b = bytes[at++];
        return true;
    }
};

Reader::Reader() : z_(std::make_unique<Inflate>()) {}
Reader::~Reader() = default;

void Reader::fail(const std::string& why) {
    if (error_.empty()) error_ = why;
}

bool Reader::open(const std::string& path) {
    z_->file = std::fopen(path.c_str(), "rb");
    if (!z_->file) {
        fail(std::string("cannot be read: ") + std::strerror(errno));
        return false;
    }
    return readHeader();
}

bool Reader::openBytes(std::vector<unsigned char> bytes) {
    z_->bytes = std::move(bytes);
    return readHeader();
}

bool Reader::readHeader() {
    unsigned char magic[sizeof kMagic];
    std::size_t got = 0;
    while (got < sizeof magic && z_->raw(magic[got])) ++got;
    if (got == 0) {
        fail("is empty");
        return false;
    }
    if (got < sizeof magic || std::memcmp(magic, kMagic, sizeof magic) != 0) {
        fail("is not a Kelvo recording");
        return false;
    }
    auto u8raw = [this](unsigned& v) {
        unsigned char b = 0;
        if (!z_->raw(b)) return false;
        v = b;
        return true;
    };
    auto u16raw = [&](unsigned& v) {
        unsigned lo = 0, hi = 0;
        if (!u8raw(lo) || !u8raw(hi)) return false;
        v = lo | (hi << 8);
        return true;
    };
    auto f32raw = [&](float& f) {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            unsigned b = 0;
            if (!u8raw(b)) return false;
            bits |= static_cast<std::uint32_t>(b) << (8 * i);
        }
        std::memcpy(&f, &bits, sizeof f);
        return true;
    };
    unsigned format = 0, length = 0, w = 0, h = 0, flags = 0;
    if (!u16raw(format)) {
        fail("ends inside its header");
        return false;
    }
    if (format > kFormat) {
        fail("was made by a newer Kelvo (format " + std::to_string(format) + "; this one reads format " +
             std::to_string(kFormat) + ")");
        return false;
    }
    if (format == 0) {
        fail("has a damaged header (format 0)");
        return false;
    }
    if (!u8raw(length)) {
        fail("ends inside its header");
        return false;
    }
    if (length > kLongestVersion) {
        fail("has a damaged header (a program version of " + std::to_string(length) + " bytes)");
        return false;
    }
    for (unsigned i = 0; i < length; ++i) {
        unsigned c = 0;
        if (!u8raw(c)) {
            fail("ends inside its header");
            return false;
        }
        if (c < 0x20 || c > 0x7E) {
            fail("has a damaged header (the program version is not text)");
            return false;
        }
        header_.programVersion.push_back(static_cast<char>(c));
    }
    if (!u16raw(w) || !u16raw(h) || !u8raw(flags) || !f32raw(header_.screenWidth) || !f32raw(header_.screenHeight)) {
        fail("ends inside its header");
        return false;
    }
    if (w == 0 || h == 0 || w > kLargestStage || h > kLargestStage || flags > 3) {
        fail("has a damaged header (a stage of " + std::to_string(w) + " x " + std::to_string(h) + " pixels)");
        return false;
    }
    auto sane = [](float f) { return std::isfinite(f) && f >= 1 && f <= kFarthest; };
    if (!sane(header_.screenWidth) || !sane(header_.screenHeight)) {
        fail("has a damaged header (the screen's size)");
        return false;
    }
    header_.stageWidthPx = static_cast<int>(w);
    header_.stageHeightPx = static_cast<int>(h);
    header_.fullScreen = (flags & 1) != 0;
    header_.fromTest = (flags & 2) != 0;
    if (inflateInit2(&z_->z, -15) != Z_OK) {
        fail("cannot be read: out of memory");
        return false;
    }
    z_->ready = true;
    return true;
}

std::uint64_t Reader::fileOffset() const { return z_->consumed + z_->at; }

bool Reader::more() {
    if (!error_.empty() || ended_) return false;
    if (z_->streamEnded) {
        ended_ = true;
        return false;
    }
    if (at_ > 0) {  // keep only what is not read yet
        out_.erase(out_.begin(), out_.begin() + static_cast<std::ptrdiff_t>(at_));
        at_ = 0;
    }
    const std::size_t before = out_.size();
    for (int round = 0; round < 64 && out_.size() == before; ++round) {
        if (z_->at == z_->bytes.size() && !z_->fill()) {
            ended_ = true;  // the file ends here: cut off, or after its last record
            return false;
        }
        unsigned char buffer[16384];
        z_->z.next_in = z_->bytes.data() + z_->at;
        z_->z.avail_in = static_cast<uInt>(z_->bytes.size() - z_->at);
        z_->z.next_out = buffer;
        z_->z.avail_out = sizeof buffer;
        const int status = inflate(&z_->z, Z_NO_FLUSH);
        z_->at = z_->bytes.size() - z_->z.avail_in;
        out_.insert(out_.end(), buffer, buffer + (sizeof buffer - z_->z.avail_out));
        if (status == Z_STREAM_END) {
            z_->streamEnded = true;
            break;
        }
        if (status != Z_OK && status != Z_BUF_ERROR) {
            fail("is damaged at byte " + std::to_string(fileOffset()));
            return false;
        }
    }
    return out_.size() > before;
}

bool Reader::byte(unsigned char& b) {
    if (at_ == out_.size() && !more()) return false;
    b = out_[at_++];
    return true;
}

std::uint8_t Reader::peek() {
    if (at_ == out_.size() && !more()) return 0;
    return out_[at_];
}

bool Reader::atEnd() { return at_ == out_.size() && !more(); }

bool Reader::u8(std::uint8_t& v) {
    unsigned char b = 0;
    if (!byte(b)) return false;
    v = b;
    return true;
}

bool Reader::varint(std::uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        unsigned char b = 0;
        if (!byte(b)) return false;
        v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) return true;
    }
    fail("has a number too long at byte " + std::to_string(fileOffset()));
    return false;
}

bool Reader::zigzag(std::int64_t& v) {
    std::uint64_t u = 0;
    if (!varint(u)) return false;
    v = static_cast<std::int64_t>(u >> 1) ^ -static_cast<std::int64_t>(u & 1);
    return true;
}

bool Reader::f32(float& v) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned char b = 0;
        if (!byte(b)) return false;
        bits |= static_cast<std::uint32_t>(b) << (8 * i);
    }
    std::memcpy(&v, &bits, sizeof v);
    return true;
}

bool Reader::u64(std::uint64_t& v) {
    v = 0;
    for (int i = 0; i < 8; ++i) {
        unsigned char b = 0;
        if (!byte(b)) return false;
        v |= static_cast<std::uint64_t>(b) << (8 * i);
    }
    return true;
}

bool Reader::text(std::string& s, std::size_t longest) {
    std::uint64_t n = 0;
    if (!varint(n)) return false;
    if (n > longest) {
        fail("has an answer of " + std::to_string(n) + " bytes at byte " + std::to_string(fileOffset()) + " (at most " +
             std::to_string(longest) + ")");
        return false;
    }
    s.clear();
    for (std::uint64_t i = 0; i < n; ++i) {
        unsigned char b = 0;
        if (!byte(b)) return false;
        s.push_back(static_cast<char>(b));
    }
    return true;
}

}  // namespace platform::replay
