#pragma once
// A recording's bytes for tests that edit them: read and written whole, and
// the record stream behind the header taken out and put back in, by the
// program's own reader and writer.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/ReplayFile.h"

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

// The records behind the header, up to the first damage (at most 8 MB of
// them); none when the header is refused.
inline Bytes Inflate(const Bytes& f) {
    platform::replay::Reader reader;
    Bytes out;
    if (reader.openBytes(f))
        for (std::uint8_t b; out.size() < (8u << 20) && reader.u8(b);) out.push_back(b);
    return out;
}

// The file F with its records replaced by RECORDS.
inline Bytes Deflate(const Bytes& f, const Bytes& records) {
    platform::replay::Reader reader;
    reader.openBytes(f);
    const auto path = std::filesystem::temp_directory_path() / ("kelvo-records-" + std::to_string(getpid()));
    platform::replay::Writer writer;
    writer.create(path.string());
    writer.header(reader.header());
    for (unsigned char b : records) writer.u8(b);
    writer.flush(true);
    Bytes out = ReadAll(path);
    std::filesystem::remove(path);
    return out;
}

}  // namespace kelvo::test
