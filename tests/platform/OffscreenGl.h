#pragma once

#include <cstdlib>
#include <dlfcn.h>

// Prepares a test process for the real engine without a display: SDL's offscreen
// video driver (EGL) and silent audio. Mesa's driver is unloaded when the window
// closes, and its process-long allocations then look leaked to LeakSanitizer; kept
// loaded, they stay reachable. Libraries absent here are simply skipped.
inline void PrepareOffscreenGl()
{
    for (const char* library : {"libEGL.so.1", "libEGL_mesa.so.0", "libGLX.so.0", "libGLX_mesa.so.0", "libgbm.so.1",
                                "libglapi.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(library, RTLD_NOW | RTLD_NODELETE);
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
}
