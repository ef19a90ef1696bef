// The shared library's own information, for hosts that want to check it.
#include "component/LXWareHouse.h"
#include "component/Version.h"

extern "C" {

const char *depotbase_version()
{
    return DEPOTBASE_VERSION_STRING;
}

const char *depotbase_description()
{
    return DEPOTBASE_DESCRIPTION_STRING;
}
}
