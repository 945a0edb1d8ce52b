#include "platform/SdlEngine.h"

// placeholder until the SDL engine lands
Engine* CreateSdlEngine()
{
    return nullptr;
}
