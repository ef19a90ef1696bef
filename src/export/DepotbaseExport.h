#pragma once

// Marks what libdepotbase.so exports. The library is built with hidden
// visibility, so everything without this mark stays inside it.
#define DEPOTBASE_EXPORT __attribute__((visibility("default")))
