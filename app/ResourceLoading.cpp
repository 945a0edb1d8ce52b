#include "app/ResourceLoading.h"

#include <new>
#include <string>
#include <vector>

#include "app/App.h"
#include "registry/KIVO.h"
#include "render/gfxFont.h"
#include "render/gfxSprite.h"

bool LoadGraphics()
{
    if (!engine || !registry)
        return true;

    // A font whose description or bitmap is missing still comes into being, empty.
    delete bigFont;
    bigFont = new (std::nothrow) gfxFont("graphics\\font.fnt");
    if (!bigFont)
        return true;
    delete smallFont;
    smallFont = new (std::nothrow) gfxFont("graphics\\fontsmall.fnt");
    if (!smallFont)
        return true;

    // Every entry of the search counts, folders too: the blend modes alternate by it.
    std::vector<gfxFileEntry> found = engine->Resource_FindFiles("pix\\*.png");
    int counter = 0;
    for (const gfxFileEntry& entry : found) {
        if (!entry.isDirectory) {
            std::string path = "pix\\" + entry.name;
            HTEXTURE texture = engine->Texture_Load(path.c_str(), 0, true);
            // The image's own size: the engine may hold it in a larger texture.
            int width = engine->Texture_GetWidth(texture, true);
            int height = engine->Texture_GetHeight(texture, true);
            KIVO_GRAPHICS* picture = registry->AddGraphics(entry.name.c_str(), texture, 0, 0, static_cast<float>(width),
                                                           static_cast<float>(height), 0, 0, 0);
            if (!picture || !picture->sprite || picture->sprite->GetTexture() == 0)
                return true;
            picture->sprite->SetColor(0xFFFFFFFF, -1);
            picture->sprite->SetBlendMode(counter % 2 != 0 ? BLEND_ALPHA : BLEND_ADDITIVE);
            picture->sprite->SetHotSpot(static_cast<float>(width / 2), static_cast<float>(height / 2));
        }
        ++counter;
    }
    return false;
}

bool LoadSounds()
{
    if (!engine)
        return true;
    struct Effect {
        const char* name;
        HEFFECT* handle;
    };
    const Effect effects[] = {
        {"sound\\one.mp3", &effectColors},         {"sound\\iter.mp3", &effectIteration},
        {"sound\\a1.mp3", &effectCompositions[0]}, {"sound\\a2.mp3", &effectCompositions[1]},
        {"sound\\a3.mp3", &effectCompositions[2]}, {"sound\\a4.mp3", &effectCompositions[3]},
        {"sound\\a5.mp3", &effectCompositions[4]}, {"sound\\a6.mp3", &effectCompositions[5]},
    };
    for (const Effect& effect : effects) {
        *effect.handle = engine->Effect_Load(effect.name, 0);
        if (*effect.handle == 0)
            return true;
    }
    return false;
}
