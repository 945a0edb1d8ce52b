#include "platform/FileSearch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

std::string NormalizePath(const char* name)
{
    std::string path = name ? name : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    while (path.rfind("./", 0) == 0)
        path.erase(0, 2);
    return path;
}

std::vector<gfxFileEntry> FindFiles(const char* pattern)
{
    std::vector<gfxFileEntry> found;
    std::string path = NormalizePath(pattern);
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
    // Only "*" followed by a literal tail is supported, which is all the program asks.
    if (mask.empty() || mask[0] != '*')
        return found;
    std::string tail = Lower(mask.substr(1));

    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error)
        return found;
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        std::string lower = Lower(name);
        if (lower.size() < tail.size() || lower.compare(lower.size() - tail.size(), tail.size(), tail) != 0)
            continue;
        std::error_code typeError;
        found.push_back({name, entry.is_directory(typeError)});
    }
    std::sort(found.begin(), found.end(), [](const gfxFileEntry& a, const gfxFileEntry& b) {
        std::string la = Lower(a.name), lb = Lower(b.name);
        return la != lb ? la < lb : a.name < b.name;
    });
    return found;
}
