#pragma once

class Engine;

// The real engine on SDL2, OpenGL 3.3 core, SDL2_mixer and PhysicsFS. It deletes
// itself when its last reference is given back.
Engine* CreateSdlEngine();
