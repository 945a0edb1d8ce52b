#include "tools/ZipArchive.h"

#include <array>
#include <fstream>

namespace {

// CRC-32 of the ZIP format (reflected polynomial 0xEDB88320).
uint32_t Crc32(const std::vector<uint8_t>& bytes)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// DOS date of 1980-01-01 (year 0, month 1, day 1) and time 00:00:00.
constexpr uint32_t DOS_DATE = (0 << 9) | (1 << 5) | 1;
constexpr uint32_t DOS_TIME = 0;
// Version 1.0 suffices for stored entries without directories.
constexpr uint32_t VERSION = 10;

} // namespace

void ZipArchive::Add(const std::string& name, std::vector<uint8_t> bytes)
{
    entries.push_back({name, std::move(bytes)});
}

std::vector<uint8_t> ZipArchive::Bytes() const
{
    std::vector<uint8_t> out;
    std::vector<uint8_t> directory;
    for (const Entry& e : entries) {
        uint32_t offset = static_cast<uint32_t>(out.size());
        uint32_t crc = Crc32(e.bytes);
        uint32_t size = static_cast<uint32_t>(e.bytes.size());
        uint32_t nameLength = static_cast<uint32_t>(e.name.size());

        Put32(out, 0x04034b50);
        Put16(out, VERSION);
        Put16(out, 0); // flags
        Put16(out, 0); // method: stored
        Put16(out, DOS_TIME);
        Put16(out, DOS_DATE);
        Put32(out, crc);
        Put32(out, size); // compressed size
        Put32(out, size);
        Put16(out, nameLength);
        Put16(out, 0); // extra field length
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());

        Put32(directory, 0x02014b50);
        Put16(directory, VERSION); // made by: MS-DOS, so no Unix attributes are implied
        Put16(directory, VERSION);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, DOS_TIME);
        Put16(directory, DOS_DATE);
        Put32(directory, crc);
        Put32(directory, size);
        Put32(directory, size);
        Put16(directory, nameLength);
        Put16(directory, 0); // extra field length
        Put16(directory, 0); // comment length
        Put16(directory, 0); // disk number
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, offset);
        directory.insert(directory.end(), e.name.begin(), e.name.end());
    }
    uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    Put32(out, 0x06054b50);
    Put16(out, 0); // this disk
    Put16(out, 0); // disk with the directory
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0); // comment length
    return out;
}

bool ZipArchive::Write(const std::string& path) const
{
    std::vector<uint8_t> bytes = Bytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return !file.flush();
}
