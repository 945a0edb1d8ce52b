#pragma once

#include "registry/KEYED_STRING_LIST.h"

// A picture's keyed list of collision circles. The list owns its records: deleting an entry frees
// its record. Nothing in this program fills it.
class KIVO_COLLISIONCIRCLE {
public:
    // one collision circle: centre within the picture and radius, in pixels.
    struct Record {
        float x = 0;
        float y = 0;
        float radius = 0;
    };

    KIVO_COLLISIONCIRCLE();
    ~KIVO_COLLISIONCIRCLE();
    KIVO_COLLISIONCIRCLE(const KIVO_COLLISIONCIRCLE&) = delete;
    KIVO_COLLISIONCIRCLE& operator=(const KIVO_COLLISIONCIRCLE&) = delete;

    // Frees the record at index and deletes its entry; ignored outside 0..Count()-1.
    void DeleteAt(int index);
    void Clear();

    // Unsorted, duplicate keys ignored, case-insensitive.
    KEYED_STRING_LIST<Record> items;
};
