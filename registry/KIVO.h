#pragma once

#include <cstdint>

#include "platform/Engine.h"
#include "registry/KEYED_STRING_LIST.h"
#include "registry/KIVO_GRAPHICS.h"
#include "registry/KIVO_OBJECT.h"

// The picture registry: every loaded picture as a KIVO_GRAPHICS entry, filed under its
// number and under its name and fetched by its position in the order of addition. It
// also carries the view origin, and the (here always empty) scene-object lists of the
// sprite framework.
//
// The lists only refer to objects. Picture entries are made by AddGraphics and never
// removed while the registry lives; destroying the registry destroys them. Scene objects
// are never owned by the registry: RemoveObject destroys one only when asked to.
class KIVO {
public:
    KIVO();
    ~KIVO();
    KIVO(const KIVO&) = delete;
    KIVO& operator=(const KIVO&) = delete;

    // Makes a picture entry with a sprite over (x, y, width, height) of texture and files
    // it under its number and its name. number 0 or less, or one already taken, asks
    // for the next free number. Duplicate names are accepted; the texture is not checked.
    KIVO_GRAPHICS* AddGraphics(const char* name, HTEXTURE texture, float x, float y, float width, float height,
                               float minWidth, float minHeight, int32_t number);
    int GraphicsCount() const { return graphicsByNumber.Count(); }
    // The entry at a position in the order of addition, or null outside 0..count-1.
    // A bounds check and an index: it runs for every part drawn.
    KIVO_GRAPHICS* GetGraphics(int index) const { return graphicsByNumber.GetObject(index); }

    // Takes a scene object out of the lists, provided list 1 holds it: deleted from
    // lists 1 to 3 (and 4 to 6 unless reducedRemoval), its reference cleared in lists
    // 7 to 9. Destroyed afterwards unless keep. Null, or an object not in list 1, is
    // left alone.
    void RemoveObject(KIVO_OBJECT* object, bool keep);
    // Removes every object of list 1 as RemoveObject does, then sets objectCounter to 0.
    void RemoveAllObjects(bool keep);

    // Scene-object lists 1 to 9 at indices 0 to 8: list 1 and 7 unsorted, the others
    // sorted; all accept duplicates and compare case-sensitively.
    KEYED_STRING_LIST<KIVO_OBJECT> objectLists[9];
    // Picture entries keyed by their number in decimal, in order of addition.
    KEYED_STRING_LIST<KIVO_GRAPHICS> graphicsByNumber;
    // The same entries keyed by name, at the same positions.
    KEYED_STRING_LIST<KIVO_GRAPHICS> graphicsByName;

    int32_t objectCounter;
    // Highest picture number given out or accepted so far.
    int32_t lastNumber;
    // View origin in document units, added to every part's position when drawn.
    float originX, originY;
    // When true, RemoveObject leaves lists 4, 5 and 6 alone.
    bool reducedRemoval;

private:
    int32_t NextFreeNumber();
};
