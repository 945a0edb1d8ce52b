#pragma once

#include <cstdint>

// 1 while a right-button drag is under way.
extern int32_t dragging;
// Mouse position of the last frame in logical units, truncated toward zero.
extern int32_t lastMouseX;
extern int32_t lastMouseY;

// Wheel zoom, Ctrl+wheel part size, right-button pan; (mx, my) is the mouse position
// in logical screen units. Sets the registry's originX/originY.
void ControlView(float mx, float my);
// In auto mode, shrinks or grows the zoom and moves the pan toward the centre by one
// step per frame so that NEXT fits the screen.
void AutoFit();
