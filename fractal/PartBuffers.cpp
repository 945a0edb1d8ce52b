#include "fractal/PartBuffers.h"

#include <cstddef>
#include <new>

PART_BUFFER bufferA;
PART_BUFFER bufferB;
int32_t bufferSelector = 0;
int32_t stepCursor = 0;
int32_t renderCursor = 0;
int64_t partAllocationLimit = -1;

PART_BUFFER* SelectBuffer(uint8_t role)
{
    bool next = role != CURRENT;
    // Selector 0: A is CURRENT, B is NEXT; selector 1 swaps them.
    return (next != (bufferSelector != 0)) ? &bufferB : &bufferA;
}

void ClearBuffer(uint8_t role)
{
    PART_BUFFER* buffer = SelectBuffer(role);
    delete[] buffer->items;
    buffer->items = nullptr;
    buffer->count = 0;
    buffer->capacity = 0;
    buffer->minScale = buffer->maxScale = 0;
    buffer->minX = buffer->maxX = 0;
    buffer->minY = buffer->maxY = 0;
}

PART* NewPartArray(int32_t n)
{
    if (n < 0)
        return nullptr;
    if (partAllocationLimit >= 0 && n > partAllocationLimit)
        return nullptr;
    return new (std::nothrow) PART[static_cast<std::size_t>(n)];
}

void AdoptBuffer(uint8_t role, PART* items, int32_t n)
{
    ClearBuffer(role);
    PART_BUFFER* buffer = SelectBuffer(role);
    buffer->items = items;
    buffer->capacity = n;
    buffer->count = 0;
}

bool AllocateBuffer(uint8_t role, int32_t n)
{
    PART* items = NewPartArray(n);
    if (!items)
        return false;
    AdoptBuffer(role, items, n);
    return true;
}

PART& PartAt(uint8_t role, int32_t i)
{
    return SelectBuffer(role)->items[i];
}

int32_t PartCapacity(uint8_t role)
{
    return SelectBuffer(role)->capacity;
}

void AppendPart(uint8_t role, float x, float y, int32_t picture, float angle, float scale, int32_t color)
{
    SelectBuffer(role)->Append(x, y, picture, angle, scale, color);
}
