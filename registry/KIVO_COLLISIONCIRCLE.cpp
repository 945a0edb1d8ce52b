#include "registry/KIVO_COLLISIONCIRCLE.h"

KIVO_COLLISIONCIRCLE::KIVO_COLLISIONCIRCLE() : items(false, false, false)
{
    Clear();
}

KIVO_COLLISIONCIRCLE::~KIVO_COLLISIONCIRCLE()
{
    Clear();
}

void KIVO_COLLISIONCIRCLE::DeleteAt(int index)
{
    if (index < 0 || index >= items.Count())
        return;
    delete items.GetObject(index);
    items.Delete(index);
}

void KIVO_COLLISIONCIRCLE::Clear()
{
    while (!items.Empty())
        DeleteAt(0);
}
