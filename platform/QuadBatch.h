#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Engine.h"

// Batched textured quads on OpenGL 3.3 core. Quads accumulate in one streaming
// vertex buffer, drawn through a static index buffer, and go to the GPU only when
// the view or the transform changes, a ninth texture is needed, the quads cover
// more pixels than a batch should fill, or on Flush. Each
// vertex carries its texture's slot and its blend mode, so parts that alternate
// between pictures and between additive and alpha blending still share one draw.
// Colours are premultiplied by alpha throughout: textures must hold premultiplied
// texels, and the vertex colour is premultiplied in the shader. So a destination
// that starts transparent keeps premultiplied pixels, and a render target drawn
// elsewhere with alpha blending puts down exactly its own colours.
// Needs a current GL context for every call between Create and Destroy.
class QuadBatch {
public:
    QuadBatch() = default;
    ~QuadBatch() = default;
    QuadBatch(const QuadBatch&) = delete;
    QuadBatch& operator=(const QuadBatch&) = delete;

    // Compiles the shaders and makes the buffers; false with a reason on failure.
    bool Create(std::string* error);
    void Destroy();

    // Size in pixels of the destination that positions refer to (y down).
    void SetView(int width, int height);
    // Pixel-to-pixel affine transform applied before the view:
    // x' = m[0] x + m[1] y + m[2], y' = m[3] x + m[4] y + m[5].
    void SetTransform(const float m[6]);

    // Adds a quad drawn with the GL texture (0: plain white). flipV turns the
    // texture coordinates upside down, for textures of render targets.
    void Add(const gfxQuad& quad, unsigned texture, bool flipV);
    void Flush();

    // GL draw calls issued since Create.
    uint64_t DrawCalls() const { return drawCalls; }

private:
    struct Vertex {
        float x, y;
        float u, v;
        uint32_t color;
        uint8_t slot;
        uint8_t additive;
        uint8_t padding[2];
    };

    // Small enough that a budget checked between quads overshoots by little.
    static constexpr int kMaxQuads = 2048;
    static constexpr uint64_t kFenceTimeout = 1000000000;
    // Pixels a batch may cover before it is sent: a screenful, some milliseconds of
    // filling on a software renderer, so that a time budget checked between quads holds.
    static constexpr double kMaxPixels = 1024.0 * 1024;

    // Area of the quad's bounding box on the destination, clipped to the view.
    double CoveredPixels(const gfxQuad& quad) const;
    static constexpr int kSlots = 8;

    // The batch's slot of a GL texture, flushing first when all slots are taken.
    int SlotOf(unsigned texture);

    unsigned program = 0;
    unsigned vertexArray = 0;
    unsigned vertexBuffer = 0;
    unsigned indexBuffer = 0;
    unsigned whiteTexture = 0;
    int rowXLocation = -1;
    int rowYLocation = -1;

    std::vector<Vertex> vertices;
    unsigned slots[kSlots] = {};
    int slotsUsed = 0;
    // Pixels covered by the quads of the batch so far.
    double pixels = 0;
    int viewWidth = 1;
    int viewHeight = 1;
    float transform[6] = {1, 0, 0, 0, 1, 0};
    uint64_t drawCalls = 0;
    // Fence of the last batch sent (a GLsync).
    void* inFlight = nullptr;
};
