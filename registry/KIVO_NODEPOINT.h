#pragma once

#include "registry/KEYED_STRING_LIST.h"

// A picture's keyed list of node points. The list owns its records: deleting an entry frees
// its record. Nothing in this program fills it.
class KIVO_NODEPOINT {
public:
    // one node point: a position within the picture, in pixels.
    struct Record {
        float x = 0;
        float y = 0;
    };

    KIVO_NODEPOINT();
    ~KIVO_NODEPOINT();
    KIVO_NODEPOINT(const KIVO_NODEPOINT&) = delete;
    KIVO_NODEPOINT& operator=(const KIVO_NODEPOINT&) = delete;

    // Frees the record at index and deletes its entry; ignored outside 0..Count()-1.
    void DeleteAt(int index);
    void Clear();

    // Unsorted, duplicate keys ignored, case-insensitive.
    KEYED_STRING_LIST<Record> items;
};
