#include "app/Startup.h"

// placeholder until start-up lands
int RunProgram()
{
    return 0;
}
