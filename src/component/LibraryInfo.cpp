// The shared library's own object: its version, for hosts that want to check it.
extern "C" const char *depotbase_version()
{
    return "1.0.0";
}
