#pragma once

#include <cstdint>
#include <vector>

#include "platform/Engine.h"

class gfxSprite;

// Text drawn with a bitmap font: one texture holding the glyph images and up to 256
// glyphs, one per byte value, each a sprite with its own advance before and after.
//
// The font is read from a description through the engine's resource lookup:
//
//   [GFXFONT]
//   Bitmap = font.png
//   Char = "A", x, y, w, h, pre, post
//   Char = 20, x, y, w, h, pre, post        (code in hexadecimal)
//
// The reader accepts any bytes and never reads or writes outside its buffers:
// - the description ends at its first zero byte;
// - a line holds at most 255 characters: the rest of a longer line is dropped and the
//   reader goes on at the next line;
// - a description name or a bitmap path of more than 259 characters is refused: the
//   font stays empty, or the Bitmap line is ignored;
// - a hexadecimal code above ff (however many digits) makes its Char line ignored, and
//   so does a quoted code with nothing after the opening quotation mark;
// - numbers missing from a Char line count as 0; numbers beyond the 32-bit range are
//   clamped to it;
// - a first line other than "[GFXFONT]" (an empty description too) is written to the
//   engine's log and leaves the font empty.
class gfxFont {
public:
    explicit gfxFont(const char* filename);
    ~gfxFont();
    gfxFont(const gfxFont&) = delete;
    gfxFont& operator=(const gfxFont&) = delete;

    // (x, y) is the top of the first line at the alignment point. Only the two low bits
    // of align count: 1 right (the text ends at x), 2 centred on x, 0 and 3 left.
    void Render(float x, float y, int align, const char* text);
    // printf-style into textBuffer, then Render. Text longer than 1023 characters is cut.
    void RenderFormatted(float x, float y, int align, const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 5, 6)))
#endif
        ;
    // Width up to the end of the text or its first line feed, at the font's scale.
    float GetStringWidth(const char* text);
    void SetColor(uint32_t color);
    void SetScale(float newScale)
    {
        scale = newScale;
    }

    // The engine pointer shared by every font.
    static Engine* gfx;

    static constexpr int maxLine = 255;
    static constexpr int maxPath = 259;

    char textBuffer[1024];
    // The current bitmap; the font owns it.
    HTEXTURE texture;
    gfxSprite* glyphs[256];
    float preWidths[256];
    float postWidths[256];
    float lineHeight;
    float scale;
    float rotation;
    float tracking;
    float spacing;
    uint32_t color;

private:
    void Read(const char* filename);
    // Handles one line of the description; false stops the reading.
    bool ReadLine(const char* line, int length, const char* folder, int folderLength);
    bool ReadBitmap(const char* line, int length, const char* folder, int folderLength);
    void ReadChar(const char* line, int length);
    // The glyph drawn for a byte: its own, else the question mark's, else null.
    gfxSprite* GlyphFor(unsigned char code, unsigned char* used) const;
    float LineStart(float x, int align, const char* text);

    // Bitmaps of earlier Bitmap lines, still used by the glyphs made after them.
    std::vector<HTEXTURE> earlierTextures;
};
