#pragma once

class TIX;

// Time base in frame units (1/50 s), advanced at the end of every UpdateFrame.
extern double frameTime;
// Key commands are accepted only while nextKeyTime < frameTime.
extern double nextKeyTime;
// The part-count overlay shows while frameTime is below this.
extern double infoUntil;
// The stopwatch started at the beginning of the running UpdateFrame; null outside it.
extern TIX* stepTimer;

// The frame function: view control, one key command, growth, auto-fit, time base.
// Returns true to end the frame loop (key X).
bool UpdateFrame();
