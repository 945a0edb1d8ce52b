#pragma once

#include <cstdint>

#include "fractal/PART.h"

// A fixed-capacity array of parts with its count and the ranges of scale and
// position of the parts stored. The ranges are all 0 while the buffer is empty.
struct PART_BUFFER {
    int32_t count = 0;
    int32_t capacity = 0;
    // Owned; null until allocated and after ClearBuffer.
    PART* items = nullptr;
    float minScale = 0, maxScale = 0;
    float minX = 0, maxX = 0;
    float minY = 0, maxY = 0;

    PART_BUFFER() = default;
    PART_BUFFER(const PART_BUFFER&) = delete;
    PART_BUFFER& operator=(const PART_BUFFER&) = delete;
    ~PART_BUFFER() { delete[] items; }

    // Appends one part; a full buffer refuses it and stays as it was.
    void Append(float x, float y, int32_t picture, float angle, float scale, int32_t color)
    {
        if (count >= capacity)
            return;
        PART& part = items[count];
        part.picture = picture;
        part.x = x;
        part.y = y;
        part.angle = angle;
        part.scale = scale;
        part.color = color;
        if (count == 0) {
            minScale = maxScale = scale;
            minX = maxX = x;
            minY = maxY = y;
        } else {
            if (scale < minScale)
                minScale = scale;
            if (scale > maxScale)
                maxScale = scale;
            if (x < minX)
                minX = x;
            if (x > maxX)
                maxX = x;
            if (y < minY)
                minY = y;
            if (y > maxY)
                maxY = y;
        }
        ++count;
    }
};
