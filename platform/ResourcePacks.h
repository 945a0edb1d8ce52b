#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Read-only file lookup over PhysicsFS: ZIP packs in the order attached, then the
// working folder. Names may use backslashes. One instance per process, since
// PhysicsFS itself is process-wide.
class ResourcePacks {
public:
    ResourcePacks();
    ~ResourcePacks();
    ResourcePacks(const ResourcePacks&) = delete;
    ResourcePacks& operator=(const ResourcePacks&) = delete;

    bool Ready() const { return ready; }

    // Mounts a ZIP archive found relative to the working folder. A missing file,
    // a folder or anything that is not an archive is not attached (false).
    bool Attach(const char* pack);

    // The file's bytes, or false when it is absent or the name is unsafe.
    bool Load(const char* name, std::vector<uint8_t>* bytes);

private:
    // The working folder is looked up last; it is remounted whenever the process
    // has changed folder since the last lookup.
    void SyncWorkingFolder();

    bool ready = false;
    std::string mountedFolder;
    std::vector<std::string> packs;
};
