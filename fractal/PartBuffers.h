#pragma once

#include <cstdint>

#include "fractal/PART.h"
#include "fractal/PART_BUFFER.h"

// The two part buffers take turns in two roles: CURRENT, the last complete
// generation (the parents), and NEXT, the generation being written, which is the one
// drawn and measured. Any non-zero role value means NEXT.
constexpr uint8_t CURRENT = 0;
constexpr uint8_t NEXT = 1;

extern PART_BUFFER bufferA;
extern PART_BUFFER bufferB;
// 0: A is CURRENT and B is NEXT; 1: the other way round.
extern int32_t bufferSelector;
// Position in CURRENT of the next parent to grow.
extern int32_t stepCursor;
// Position in NEXT of the next part to draw; 0 asks the renderer to clear the target
// and draw NEXT again from its first part. Only the renderer advances it.
extern int32_t renderCursor;

// Arrays of more parts than this are refused as if memory had run out; tests lower it
// to provoke an allocation failure. Negative: no limit.
extern int64_t partAllocationLimit;

PART_BUFFER* SelectBuffer(uint8_t role);
// Empties the role's buffer: count, capacity and ranges 0, array freed.
void ClearBuffer(uint8_t role);
// A new array of n parts, or null when it cannot be had (n negative, over
// partAllocationLimit, or out of memory). Give it back with delete[].
PART* NewPartArray(int32_t n);
// Gives the role's buffer an empty array of n parts, freeing the one it held. When
// the array cannot be had the buffer is left untouched and false is returned.
bool AllocateBuffer(uint8_t role, int32_t n);
// Like AllocateBuffer with an array already obtained from NewPartArray (taken over).
void AdoptBuffer(uint8_t role, PART* items, int32_t n);
// The caller keeps i below the buffer's count.
inline PART& ItemAt(PART_BUFFER* buffer, int32_t i)
{
    return buffer->items[i];
}
PART& PartAt(uint8_t role, int32_t i);
// Capacity, not count, of the role's buffer.
int32_t PartCapacity(uint8_t role);
// A full buffer refuses the part silently.
void AppendPart(uint8_t role, float x, float y, int32_t picture, float angle, float scale, int32_t color);
