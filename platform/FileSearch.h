#pragma once

#include <vector>

#include "platform/Engine.h"

// Searches the real file system for "folder\*.ext" (or "folder/*.ext") relative to the
// working folder. Entries whose names end in .ext, compared case-insensitively, folders
// included and flagged, in case-insensitive name order. A missing folder gives nothing.
std::vector<gfxFileEntry> FindFiles(const char* pattern);

// "a\b\c.png" -> "a/b/c.png"; strips a leading "./".
std::string NormalizePath(const char* name);
