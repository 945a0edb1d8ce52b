#include "fractal/ViewControl.h"

#include <cmath>

#include "app/App.h"
#include "fractal/PartBuffers.h"
#include "fractal/SPRITE.h"
#include "registry/KIVO.h"

int32_t dragging = 0;
int32_t lastMouseX = 0;
int32_t lastMouseY = 0;

namespace {

void SetOrigin()
{
    if (!registry)
        return;
    registry->originX = static_cast<float>(baseWidth * windowScale * 0.5 / document.zoom + document.panX);
    registry->originY = static_cast<float>(baseHeight * windowScale * 0.5 / document.zoom + document.panY);
}

// Moves the pan one step toward the screen centre along one axis, when the centre
// of the parts' bounds [low, high] lies more than 10 units off it.
void CentreAxis(float low, float high, float origin, double base, double& pan)
{
    float centre = static_cast<float>(((static_cast<double>(high) + low) * 0.5 + origin) * document.zoom);
    if (centre < base * 0.5 - 10) {
        pan = pan + 3.0;
        renderCursor = 0;
    } else if (centre > base * 0.5 + 10) {
        pan = pan - 3.0;
        renderCursor = 0;
    }
}

} // namespace

void ControlView(float mx, float my)
{
    SPRITE& doc = document;
    SetOrigin();

    if (!engine->Input_GetKeyState(KEY_LBUTTON) && engine->Input_IsMouseOver()) {
        int wheel = engine->Input_GetMouseWheel();
        bool ctrl = engine->Input_GetKeyState(KEY_CTRL);
        if (wheel > 0) {
            if (ctrl) {
                doc.partScale = doc.partScale * 1.02;
            } else {
                doc.zoom = doc.zoom * 1.1;
                doc.autoMode = 0;
            }
            renderCursor = 0;
        } else if (wheel < 0) {
            if (ctrl) {
                doc.partScale = doc.partScale * (1.0 / 1.02);
            } else {
                doc.zoom = doc.zoom * (1.0 / 1.1);
                if (0.0001 * windowScale > doc.zoom)
                    doc.zoom = 0.0001 * windowScale;
                doc.autoMode = 0;
            }
            renderCursor = 0;
        }
    }

    if (engine->Input_GetKeyState(KEY_RBUTTON)) {
        dragging = 1;
        if (static_cast<float>(lastMouseX) != mx || static_cast<float>(lastMouseY) != my) {
            doc.panX += (mx - lastMouseX) * windowScale / doc.zoom;
            doc.panY += (my - lastMouseY) * windowScale / doc.zoom;
        }
        lastMouseX = static_cast<int32_t>(mx);
        lastMouseY = static_cast<int32_t>(my);
        doc.autoMode = 0;
    } else {
        // The picture is redrawn once, when the drag ends.
        if (dragging == 1)
            renderCursor = 0;
        dragging = 0;
        lastMouseX = static_cast<int32_t>(mx);
        lastMouseY = static_cast<int32_t>(my);
    }

    SetOrigin();
}

void AutoFit()
{
    SPRITE& doc = document;
    const PART_BUFFER* next = SelectBuffer(NEXT);
    if (engine->Input_GetKeyState(KEY_LBUTTON) || doc.autoMode == 0 || next->count < 2)
        return;
    float w = static_cast<float>(std::fabs(next->maxX - next->minX) * doc.zoom);
    float h = static_cast<float>(std::fabs(next->maxY - next->minY) * doc.zoom);
    if (w > baseWidth || h > baseHeight) {
        doc.zoom = doc.zoom * (1.0 / 1.01);
        renderCursor = 0;
    } else if (w < baseWidth - fitMargin && h < baseHeight - fitMargin) {
        doc.zoom = doc.zoom * 1.01;
        renderCursor = 0;
    }
    float originX = registry ? registry->originX : 0.0f;
    float originY = registry ? registry->originY : 0.0f;
    CentreAxis(next->minX, next->maxX, originX, baseWidth, doc.panX);
    CentreAxis(next->minY, next->maxY, originY, baseHeight, doc.panY);
}
