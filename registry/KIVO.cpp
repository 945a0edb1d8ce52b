#include "registry/KIVO.h"

#include <limits>
#include <string>

using ObjectList = KEYED_STRING_LIST<KIVO_OBJECT>;
using GraphicsList = KEYED_STRING_LIST<KIVO_GRAPHICS>;

KIVO::KIVO()
    : objectLists{ObjectList(false, true, true), ObjectList(true, true, true), ObjectList(true, true, true),
                  ObjectList(true, true, true),  ObjectList(true, true, true), ObjectList(true, true, true),
                  ObjectList(false, true, true), ObjectList(true, true, true), ObjectList(true, true, true)},
      graphicsByNumber(false, true, true), graphicsByName(false, true, true), objectCounter(0), lastNumber(0),
      originX(0.0f), originY(0.0f), reducedRemoval(false)
{
}

KIVO::~KIVO()
{
    for (int i = 0; i < graphicsByNumber.Count(); ++i)
        delete graphicsByNumber.GetObject(i);
}

// The number after lastNumber; once lastNumber has reached the largest number, the
// lowest positive number not taken, so that a number is never given out twice.
int32_t KIVO::NextFreeNumber()
{
    if (lastNumber < std::numeric_limits<int32_t>::max())
        return ++lastNumber;
    for (int32_t n = 1;; ++n)
        if (!graphicsByNumber.Contains(std::to_string(n)))
            return n;
}

KIVO_GRAPHICS* KIVO::AddGraphics(const char* name, HTEXTURE texture, float x, float y, float width, float height,
                                 float minWidth, float minHeight, int32_t number)
{
    if (number <= 0 || graphicsByNumber.Contains(std::to_string(number))) {
        number = NextFreeNumber();
    } else if (number > lastNumber) {
        lastNumber = number;
    }
    auto* graphics = new KIVO_GRAPHICS(name, texture, x, y, width, height, this, minWidth, minHeight, number);
    graphicsByNumber.Add(std::to_string(number), graphics);
    graphicsByName.Add(graphics->name, graphics);
    return graphics;
}

void KIVO::RemoveObject(KIVO_OBJECT* object, bool keep)
{
    if (!object)
        return;
    int position = objectLists[0].IndexOfObject(object);
    if (position < 0)
        return;
    objectLists[0].Delete(position);
    int lastDeleting = reducedRemoval ? 3 : 6;
    for (int list = 2; list <= lastDeleting; ++list)
        objectLists[list - 1].Delete(objectLists[list - 1].IndexOfObject(object));
    for (int list = 7; list <= 9; ++list)
        objectLists[list - 1].PutObject(objectLists[list - 1].IndexOfObject(object), nullptr);
    if (!keep) {
        // A destroyed object must not stay reachable from list 1, or emptying the list
        // would destroy it a second time.
        for (int i = objectLists[0].IndexOfObject(object); i >= 0; i = objectLists[0].IndexOfObject(object))
            objectLists[0].Delete(i);
        delete object;
    }
}

void KIVO::RemoveAllObjects(bool keep)
{
    while (!objectLists[0].Empty()) {
        KIVO_OBJECT* object = objectLists[0].GetObject(0);
        if (object) {
            RemoveObject(object, keep);
        } else {
            // An entry without object cannot be found by reference; drop it so the loop ends.
            objectLists[0].Delete(0);
        }
    }
    objectCounter = 0;
}
