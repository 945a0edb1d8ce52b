#pragma once

#include <cstdint>

// No generation has more parts than this.
constexpr int32_t maxItems = 1 << 24;
// Milliseconds of each frame that the growth may take.
constexpr double stepBudget = 20.0;

// Begins the next generation when none is under way and it may begin: by itself below
// the document's autoLimit, on Tab from there on, never beyond maxItems or when its
// array cannot be allocated.
void BeginGeneration();
// Grows the generation under way, one parent's children at a time, until it is
// complete or the frame's stepTimer passes stepBudget. Without a running stepTimer
// (null) the generation is grown to completion.
void GrowStep();
// Drawn scale that auto mode gives the smallest part (or, when all are smaller, the
// largest). The pictures are 64 to 256 pixels wide: at 0.04 a part of a fitted
// picture covers a few pixels, so the shapes show; at 0.01 they would melt into
// faint sub-pixel dust.
constexpr double partScaleTarget = 0.04;
// Sets the document's partScale so that the smallest (or, when all are smaller than
// partScaleTarget, the largest) part of the completed NEXT is drawn at partScaleTarget.
void CorrectPartScale();
// Replaces (x, y) by the point rotated by angle (radians) about the pivot.
void RotateAbout(float& x, float& y, float pivotX, float pivotY, float angle);
// Direction of (dx, dy) in radians, between -pi and 2pi; equal to atan2(dy, dx) up to 2pi.
float DirectionAngle(float dx, float dy);
