#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A ZIP archive written from scratch with stored (uncompressed) entries and nothing that
// depends on when, where or by whom it is built: every entry has the same DOS time stamp
// (1980-01-01 00:00), no extra fields and no file attributes. The same entries in the same
// order always give the same bytes. The resource packs are made with it.
class ZipArchive {
public:
    // Adds an entry; names use forward slashes ("graphics/font.fnt"). Entries keep their order.
    void Add(const std::string& name, std::vector<uint8_t> bytes);

    // The whole archive: local headers with data, the central directory and its end record.
    std::vector<uint8_t> Bytes() const;

    // Writes Bytes() to a file; true when writing failed.
    bool Write(const std::string& path) const;

private:
    struct Entry {
        std::string name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Entry> entries;
};
