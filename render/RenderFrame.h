#pragma once

// Mouse position in logical pixels at the last frame without a drag: the point the
// render target is shown shifted from while the right button drags.
extern float dragAnchorX;
extern float dragAnchorY;

// The help text of the information overlay: 23 lines, no line feed after the last.
extern const char* const helpText;

// The render handler: draws the next parts of the growing generation into the render
// target within 30 ms, shows the target and draws the overlays. Returns false.
bool RenderFrame();
