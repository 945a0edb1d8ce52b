#include "render/gfxFont.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "render/gfxSprite.h"

Engine* gfxFont::gfx = nullptr;

namespace {

const char header[] = "[GFXFONT]";

// The white space of scanf-style reading; line ends never reach it.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

bool StartsWith(const char* line, int length, const char* word)
{
    int n = static_cast<int>(std::strlen(word));
    return length >= n && std::memcmp(line, word, n) == 0;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads " , %d" at *p: optional white space, a comma, optional white space, an optional
// sign and at least one decimal digit. Values beyond the 32-bit range are clamped.
// False, with *p unspecified, when the text does not match.
bool ReadNumber(const char* line, int length, int* p, int* value)
{
    int i = *p;
    while (i < length && IsSpace(line[i]))
        ++i;
    if (i >= length || line[i] != ',')
        return false;
    ++i;
    while (i < length && IsSpace(line[i]))
        ++i;
    bool negative = false;
    if (i < length && (line[i] == '-' || line[i] == '+')) {
        negative = line[i] == '-';
        ++i;
    }
    if (i >= length || line[i] < '0' || line[i] > '9')
        return false;
    const long long limit = 2147483648LL;
    long long magnitude = 0;
    while (i < length && line[i] >= '0' && line[i] <= '9') {
        if (magnitude < limit)
            magnitude = magnitude * 10 + (line[i] - '0');
        ++i;
    }
    if (magnitude > limit)
        magnitude = limit;
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > 2147483647LL)
        signedValue = 2147483647LL;
    *value = static_cast<int>(signedValue);
    *p = i;
    return true;
}

} // namespace

gfxFont::gfxFont(const char* filename)
    : texture(0), lineHeight(0), scale(1.0f), rotation(0), tracking(0), spacing(1.0f), color(0xFFFFFFFF)
{
    gfx = gfxCreate(GFX_VERSION);
    for (int i = 0; i < 256; ++i) {
        glyphs[i] = nullptr;
        preWidths[i] = 0;
        postWidths[i] = 0;
    }
    textBuffer[0] = 0;
    Read(filename);
}

gfxFont::~gfxFont()
{
    for (gfxSprite*& glyph : glyphs) {
        delete glyph;
        glyph = nullptr;
    }
    if (texture)
        gfx->Texture_Free(texture);
    for (HTEXTURE earlier : earlierTextures)
        if (earlier && earlier != texture)
            gfx->Texture_Free(earlier);
    gfx->Release();
}

void gfxFont::Read(const char* filename)
{
    if (!filename)
        return;
    const int nameLength = static_cast<int>(strnlen(filename, maxPath + 1));
    if (nameLength > maxPath)
        return;

    uint32_t size = 0;
    void* data = gfx->Resource_Load(filename, &size);
    if (!data)
        return;
    std::vector<char> description(static_cast<size_t>(size) + 1);
    std::memcpy(description.data(), data, size);
    description[size] = 0;
    gfx->Resource_Free(data);
    // The description ends at its first zero byte.
    const int end = static_cast<int>(strnlen(description.data(), size));
    const char* text = description.data();

    // The bitmap sits in the description's folder: up to its last backslash, or else
    // its last forward slash.
    const char* slash = std::strrchr(filename, '\\');
    if (!slash)
        slash = std::strrchr(filename, '/');
    const int folderLength = slash ? static_cast<int>(slash - filename) + 1 : 0;

    char line[maxLine + 1];
    int pos = 0;
    bool first = true;
    for (;;) {
        int start = pos;
        while (pos < end && text[pos] != '\r' && text[pos] != '\n')
            ++pos;
        int length = pos - start;
        if (length > maxLine)
            length = maxLine;
        std::memcpy(line, text + start, length);
        line[length] = 0;
        while (pos < end && (text[pos] == '\r' || text[pos] == '\n'))
            ++pos;

        if (first) {
            if (std::strcmp(line, header) != 0) {
                gfx->System_Log("Font %s has incorrect format.", filename);
                return;
            }
            first = false;
        } else if (!ReadLine(line, length, filename, folderLength)) {
            return;
        }
        if (pos >= end)
            return;
    }
}

bool gfxFont::ReadLine(const char* line, int length, const char* folder, int folderLength)
{
    if (StartsWith(line, length, "Bitmap"))
        return ReadBitmap(line, length, folder, folderLength);
    if (StartsWith(line, length, "Char"))
        ReadChar(line, length);
    return true;
}

bool gfxFont::ReadBitmap(const char* line, int length, const char* folder, int folderLength)
{
    // "Bitmap = %s": white space around the equals sign is optional.
    int p = 6;
    while (p < length && IsSpace(line[p]))
        ++p;
    if (p >= length || line[p] != '=')
        return true;
    ++p;
    while (p < length && IsSpace(line[p]))
        ++p;
    int nameStart = p;
    while (p < length && !IsSpace(line[p]))
        ++p;
    int nameLength = p - nameStart;
    if (nameLength == 0 || folderLength + nameLength > maxPath)
        return true;

    char path[maxPath + 1];
    std::memcpy(path, folder, folderLength);
    std::memcpy(path + folderLength, line + nameStart, nameLength);
    path[folderLength + nameLength] = 0;

    HTEXTURE loaded = gfx->Texture_Load(path, 0, false);
    if (texture)
        earlierTextures.push_back(texture);
    texture = loaded;
    return loaded != 0;
}

void gfxFont::ReadChar(const char* line, int length)
{
    const char* equals = static_cast<const char*>(std::memchr(line, '=', length));
    if (!equals)
        return;
    int p = static_cast<int>(equals - line) + 1;
    while (p < length && line[p] == ' ')
        ++p;

    int code = 0;
    if (p < length && line[p] == '"') {
        if (p + 1 >= length)
            return;
        code = static_cast<unsigned char>(line[p + 1]);
        // The byte after the code is taken as the closing quotation mark unexamined.
        p += 3;
        if (p > length)
            p = length;
    } else {
        int digit;
        while (p < length && (digit = HexValue(line[p])) >= 0) {
            // Once above 255 the code stays above it: no overflow however many digits.
            if (code <= 255)
                code = code * 16 + digit;
            ++p;
        }
        if (code > 255)
            return;
    }

    // x, y, w, h, pre, post; the numbers a line lacks count as 0.
    int numbers[6] = {0, 0, 0, 0, 0, 0};
    for (int& number : numbers)
        if (!ReadNumber(line, length, &p, &number))
            break;
    const int x = numbers[0], y = numbers[1], w = numbers[2], h = numbers[3];

    delete glyphs[code];
    glyphs[code] = new gfxSprite(texture, static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                                 static_cast<float>(h));
    preWidths[code] = static_cast<float>(numbers[4]);
    postWidths[code] = static_cast<float>(numbers[5]);
    if (static_cast<float>(h) > lineHeight)
        lineHeight = static_cast<float>(h);
}

gfxSprite* gfxFont::GlyphFor(unsigned char code, unsigned char* used) const
{
    if (!glyphs[code])
        code = '?';
    *used = code;
    return glyphs[code];
}

float gfxFont::LineStart(float x, int align, const char* text)
{
    if (align == 1)
        return x - GetStringWidth(text);
    if (align == 2)
        return x - std::trunc(GetStringWidth(text) * 0.5f);
    return x;
}

void gfxFont::Render(float x, float y, int align, const char* text)
{
    if (!text)
        return;
    align &= 3;
    float penX = LineStart(x, align, text);
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') {
            y += std::trunc(lineHeight * scale * spacing);
            penX = LineStart(x, align, p + 1);
            continue;
        }
        unsigned char code;
        gfxSprite* glyph = GlyphFor(static_cast<unsigned char>(*p), &code);
        if (!glyph)
            continue;
        penX += preWidths[code] * scale;
        glyph->RenderTransformed(penX, y, rotation, scale, 0);
        penX += (glyph->GetWidth() + postWidths[code] + tracking) * scale;
    }
}

void gfxFont::RenderFormatted(float x, float y, int align, const char* format, ...)
{
    if (!format)
        return;
    va_list args;
    va_start(args, format);
    // Longer text is cut at the end of the buffer; a formatting error draws nothing.
    int written = std::vsnprintf(textBuffer, sizeof textBuffer, format, args);
    va_end(args);
    if (written < 0)
        textBuffer[0] = 0;
    Render(x, y, align, textBuffer);
}

float gfxFont::GetStringWidth(const char* text)
{
    float width = 0;
    if (!text)
        return 0;
    for (const char* p = text; *p && *p != '\n'; ++p) {
        unsigned char code;
        gfxSprite* glyph = GlyphFor(static_cast<unsigned char>(*p), &code);
        if (glyph)
            width += glyph->GetWidth() + preWidths[code] + postWidths[code] + tracking;
    }
    return width * scale;
}

void gfxFont::SetColor(uint32_t newColor)
{
    color = newColor;
    for (gfxSprite* glyph : glyphs)
        if (glyph)
            glyph->SetColor(newColor, -1);
}
