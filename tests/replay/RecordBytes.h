#pragma once
// A recording's bytes for tests that edit them: read and written whole, the
// header's length, and the record stream behind it inflated and deflated again
// as the program does.

#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kelvo::test {

using Bytes = std::vector<unsigned char>;

inline Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The header's length, or 0 when it is not a recording's.
inline std::size_t HeaderSize(const Bytes& f) {
    if (f.size() < 11 || std::memcmp(f.data(), "KELVOREC", 8) != 0) return 0;
    const std::size_t n = 11u + f[10] + 13u;
    return n <= f.size() ? n : 0;
}

// The records behind the header (at most 8 MB of them).
inline Bytes Inflate(const Bytes& f) {
    const std::size_t at = HeaderSize(f);
    z_stream z{};
    if (at == 0 || inflateInit2(&z, -15) != Z_OK) return {};
    Bytes out, buffer(65536);
    z.next_in = const_cast<unsigned char*>(f.data() + at);
    z.avail_in = static_cast<uInt>(f.size() - at);
    for (int status = Z_OK; status == Z_OK && out.size() < (8u << 20);) {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&z, Z_NO_FLUSH);
        out.insert(out.end(), buffer.data(), z.next_out);
        if (z.avail_out != 0 && status == Z_OK) break;
    }
    inflateEnd(&z);
    return out;
}

// The file F with its records replaced by RECORDS.
inline Bytes Deflate(const Bytes& f, const Bytes& records) {
    Bytes out(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(HeaderSize(f)));
    Bytes buffer(compressBound(static_cast<uLong>(records.size())) + 64);
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    z.next_in = const_cast<unsigned char*>(records.data());
    z.avail_in = static_cast<uInt>(records.size());
    z.next_out = buffer.data();
    z.avail_out = static_cast<uInt>(buffer.size());
    deflate(&z, Z_FINISH);
    out.insert(out.end(), buffer.data(), z.next_out);
    deflateEnd(&z);
    return out;
}

}  // namespace kelvo::test
