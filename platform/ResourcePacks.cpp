#include "platform/ResourcePacks.h"

#include <filesystem>
#include <physfs.h>

#include "platform/FileSearch.h"

ResourcePacks::ResourcePacks()
{
    ready = PHYSFS_isInit() || PHYSFS_init(nullptr);
    if (ready)
        SyncWorkingFolder();
}

ResourcePacks::~ResourcePacks()
{
    if (ready)
        PHYSFS_deinit();
}

void ResourcePacks::SyncWorkingFolder()
{
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).string();
    if (error || folder == mountedFolder)
        return;
    if (!mountedFolder.empty())
        PHYSFS_unmount(mountedFolder.c_str());
    mountedFolder = PHYSFS_mount(folder.c_str(), nullptr, 1) ? folder : std::string();
}

bool ResourcePacks::Attach(const char* pack)
{
    if (!ready || !pack || !*pack)
        return false;
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(NormalizePath(pack), error);
    if (error || !std::filesystem::is_regular_file(path, error))
        return false;
    std::string full = path.string();
    // Packs go before the working folder: take the folder off, append, put it back.
    if (!mountedFolder.empty())
        PHYSFS_unmount(mountedFolder.c_str());
    mountedFolder.clear();
    bool attached = PHYSFS_mount(full.c_str(), nullptr, 1) != 0;
    if (attached)
        packs.push_back(full);
    SyncWorkingFolder();
    return attached;
}

bool ResourcePacks::Load(const char* name, std::vector<uint8_t>* bytes)
{
    if (!ready || !name)
        return false;
    SyncWorkingFolder();
    std::string path = NormalizePath(name);
    if (path.empty())
        return false;
    PHYSFS_File* file = PHYSFS_openRead(path.c_str());
    if (!file)
        return false;
    PHYSFS_sint64 length = PHYSFS_fileLength(file);
    bool ok = length >= 0 && length <= 0x7fffffff;
    if (ok) {
        bytes->resize(static_cast<size_t>(length));
        ok = PHYSFS_readBytes(file, bytes->data(), static_cast<PHYSFS_uint64>(length)) == length;
    }
    PHYSFS_close(file);
    return ok;
}
