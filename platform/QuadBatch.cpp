#include "platform/QuadBatch.h"

#include <algorithm>
#include <cstring>
#include <epoxy/gl.h>

namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 texCoord;
layout(location = 2) in vec4 colorBgra;
layout(location = 3) in vec2 slotAndAdditive;
uniform vec3 rowX;
uniform vec3 rowY;
out vec2 uv;
out vec4 tint;
flat out int slot;
void main()
{
    vec3 p = vec3(position, 1.0);
    gl_Position = vec4(dot(rowX, p), dot(rowY, p), 0.0, 1.0);
    uv = texCoord;
    // The ARGB word arrives as bytes B, G, R, A.
    vec4 c = colorBgra.bgra;
    tint = vec4(c.rgb * c.a, c.a);
    // An additive quad lays down no coverage, so "over" blending adds its colour.
    if (slotAndAdditive.y > 0.5)
        tint.a = 0.0;
    slot = int(slotAndAdditive.x);
}
)";

// One batch samples up to kSlots textures; GLSL 3.30 indexes sampler arrays only
// by constants, hence the switch.
const char* const kFragmentShader = R"(#version 330 core
in vec2 uv;
in vec4 tint;
flat in int slot;
uniform sampler2D pictures[8];
out vec4 fragment;
void main()
{
    vec4 texel;
    switch (slot) {
    case 0: texel = texture(pictures[0], uv); break;
    case 1: texel = texture(pictures[1], uv); break;
    case 2: texel = texture(pictures[2], uv); break;
    case 3: texel = texture(pictures[3], uv); break;
    case 4: texel = texture(pictures[4], uv); break;
    case 5: texel = texture(pictures[5], uv); break;
    case 6: texel = texture(pictures[6], uv); break;
    default: texel = texture(pictures[7], uv); break;
    }
    fragment = texel * tint;
}
)";

GLuint Compile(GLenum kind, const char* source, std::string* error)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        *error = std::string("Shader compilation failed: ") + log;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

} // namespace

bool QuadBatch::Create(std::string* error)
{
    GLuint vertexShader = Compile(GL_VERTEX_SHADER, kVertexShader, error);
    GLuint fragmentShader = vertexShader ? Compile(GL_FRAGMENT_SHADER, kFragmentShader, error) : 0;
    if (!fragmentShader) {
        glDeleteShader(vertexShader);
        return false;
    }
    program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        *error = std::string("Shader linking failed: ") + log;
        Destroy();
        return false;
    }
    rowXLocation = glGetUniformLocation(program, "rowX");
    rowYLocation = glGetUniformLocation(program, "rowY");
    glUseProgram(program);
    for (int unit = 0; unit < kSlots; ++unit) {
        std::string name = "pictures[" + std::to_string(unit) + "]";
        glUniform1i(glGetUniformLocation(program, name.c_str()), unit);
    }

    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, kMaxQuads * 4 * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, color)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 2, GL_UNSIGNED_BYTE, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, slot)));

    // Two triangles per quad over corners 0-1-2 and 0-2-3; kMaxQuads * 4 fits 16 bits.
    std::vector<uint16_t> indices(kMaxQuads * 6);
    for (int q = 0; q < kMaxQuads; ++q) {
        uint16_t base = static_cast<uint16_t>(q * 4);
        uint16_t* i = &indices[static_cast<size_t>(q) * 6];
        i[0] = base;
        i[1] = static_cast<uint16_t>(base + 1);
        i[2] = static_cast<uint16_t>(base + 2);
        i[3] = base;
        i[4] = static_cast<uint16_t>(base + 2);
        i[5] = static_cast<uint16_t>(base + 3);
    }
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint16_t)), indices.data(),
                 GL_STATIC_DRAW);
    glBindVertexArray(0);

    const uint32_t white = 0xFFFFFFFF;
    glGenTextures(1, &whiteTexture);
    glBindTexture(GL_TEXTURE_2D, whiteTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &white);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    glEnable(GL_BLEND);
    // Sources are premultiplied and additive quads carry no coverage, so one blend
    // state serves both modes: alpha blending lays the source over the destination by
    // its alpha, an additive source (alpha 0) is simply added.
    glBlendFuncSeparate(GL_ONE, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    vertices.reserve(kMaxQuads * 4);
    vertices.clear();
    drawCalls = 0;
    return true;
}

void QuadBatch::Destroy()
{
    if (inFlight)
        glDeleteSync(static_cast<GLsync>(inFlight));
    inFlight = nullptr;
    if (whiteTexture)
        glDeleteTextures(1, &whiteTexture);
    if (indexBuffer)
        glDeleteBuffers(1, &indexBuffer);
    if (vertexBuffer)
        glDeleteBuffers(1, &vertexBuffer);
    if (vertexArray)
        glDeleteVertexArrays(1, &vertexArray);
    if (program)
        glDeleteProgram(program);
    whiteTexture = indexBuffer = vertexBuffer = vertexArray = program = 0;
    vertices.clear();
}

void QuadBatch::SetView(int width, int height)
{
    width = width > 0 ? width : 1;
    height = height > 0 ? height : 1;
    if (width == viewWidth && height == viewHeight)
        return;
    Flush();
    viewWidth = width;
    viewHeight = height;
}

void QuadBatch::SetTransform(const float m[6])
{
    if (std::memcmp(m, transform, sizeof transform) == 0)
        return;
    Flush();
    std::memcpy(transform, m, sizeof transform);
}

int QuadBatch::SlotOf(unsigned quadTexture)
{
    unsigned name = quadTexture ? quadTexture : whiteTexture;
    for (int i = 0; i < slotsUsed; ++i)
        if (slots[i] == name)
            return i;
    if (slotsUsed == kSlots)
        Flush();
    slots[slotsUsed] = name;
    return slotsUsed++;
}

void QuadBatch::Add(const gfxQuad& quad, unsigned quadTexture, bool flipV)
{
    if (!program)
        return;
    if (vertices.size() >= kMaxQuads * 4)
        Flush();
    uint8_t slot = static_cast<uint8_t>(SlotOf(quadTexture));
    // Bit 2 of the blend mode selects alpha blending; without it colours add up.
    uint8_t additive = (quad.blend & BLEND_ALPHA) ? 0 : 1;
    for (const gfxVertex& v : quad.v)
        vertices.push_back({v.x, v.y, v.tx, flipV ? 1.0f - v.ty : v.ty, v.col, slot, additive, {0, 0}});
    // Filling costs by the pixel: a batch of a few huge quads goes out as soon as it
    // has as much to fill as thousands of small ones.
    pixels += CoveredPixels(quad);
    if (pixels > kMaxPixels)
        Flush();
}

double QuadBatch::CoveredPixels(const gfxQuad& quad) const
{
    float left = 1e30f, top = 1e30f, right = -1e30f, bottom = -1e30f;
    for (const gfxVertex& v : quad.v) {
        float x = transform[0] * v.x + transform[1] * v.y + transform[2];
        float y = transform[3] * v.x + transform[4] * v.y + transform[5];
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    double width = std::min<double>(right, viewWidth) - std::max<double>(left, 0);
    double height = std::min<double>(bottom, viewHeight) - std::max<double>(top, 0);
    return width > 0 && height > 0 ? width * height : 0.0;
}

void QuadBatch::Flush()
{
    if (vertices.empty() || !program)
        return;
    glUseProgram(program);
    // The view maps pixels (y down) to clip space; the transform comes first.
    float sx = 2.0f / static_cast<float>(viewWidth);
    float sy = -2.0f / static_cast<float>(viewHeight);
    glUniform3f(rowXLocation, transform[0] * sx, transform[1] * sx, transform[2] * sx - 1.0f);
    glUniform3f(rowYLocation, transform[3] * sy, transform[4] * sy, transform[5] * sy + 1.0f);
    for (int i = 0; i < slotsUsed; ++i) {
        glActiveTexture(GL_TEXTURE0 + i);
        glBindTexture(GL_TEXTURE_2D, slots[i]);
    }
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    // Orphaning the buffer lets the driver hand out fresh storage while the GPU
    // may still read the previous batch.
    glBufferData(GL_ARRAY_BUFFER, kMaxQuads * 4 * sizeof(Vertex), nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(vertices.size() / 4 * 6), GL_UNSIGNED_SHORT, nullptr);
    glBindVertexArray(0);
    ++drawCalls;
    // Keep at most one batch in flight: the caller's time budget then sees what the
    // drawing really costs, instead of queueing work that stalls the next present.
    if (inFlight) {
        glClientWaitSync(static_cast<GLsync>(inFlight), GL_SYNC_FLUSH_COMMANDS_BIT, kFenceTimeout);
        glDeleteSync(static_cast<GLsync>(inFlight));
    }
    inFlight = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glFlush();
    vertices.clear();
    slotsUsed = 0;
    pixels = 0;
}
