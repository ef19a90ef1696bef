// Plain C entry points for hosts that load the library at run time.
#include "LXWareHouse.h"

extern "C" {

LXWareHouse *depotbase_create_warehouse()
{
    return new LXWareHouse();
}

void depotbase_destroy_warehouse(LXWareHouse *instance)
{
    delete instance;
}
}
