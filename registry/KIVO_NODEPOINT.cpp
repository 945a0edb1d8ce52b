#include "registry/KIVO_NODEPOINT.h"

KIVO_NODEPOINT::KIVO_NODEPOINT() : items(false, false, false)
{
    Clear();
}

KIVO_NODEPOINT::~KIVO_NODEPOINT()
{
    Clear();
}

void KIVO_NODEPOINT::DeleteAt(int index)
{
    if (index < 0 || index >= items.Count())
        return;
    delete items.GetObject(index);
    items.Delete(index);
}

void KIVO_NODEPOINT::Clear()
{
    while (!items.Empty())
        DeleteAt(0);
}
