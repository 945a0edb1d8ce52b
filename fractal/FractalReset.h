#pragma once

// Puts every global of the fractal engine back to its state at program load: the
// streams, the document, both buffers (freed), the cursors, the sound history, the
// time base and the drag state. For tests and tools that run several compositions.
void ResetFractalGlobals();
