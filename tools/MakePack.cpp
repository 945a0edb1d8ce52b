// vornaly_make_pack PACK FOLDER ENTRY...
// Writes the resource pack PACK, a ZIP archive holding each ENTRY (a path relative to FOLDER,
// with forward slashes) under that same name, in the order given.

#include "tools/ZipArchive.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PACK FOLDER ENTRY...\n", argv[0]);
        return 2;
    }
    ZipArchive archive;
    for (int i = 3; i < argc; ++i) {
        std::string path = std::string(argv[2]) + "/" + argv[i];
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        archive.Add(argv[i], std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {}));
    }
    if (archive.Write(argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
