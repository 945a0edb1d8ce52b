#pragma once

// The whole program: start-up, the frame loop and shutdown. Always returns 0.
int RunProgram();
