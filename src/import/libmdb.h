#pragma once
// mdbtools.h includes glib.h inside its extern "C" block, where glib's C++ templates
// cannot be; glib is included first, so its include guard keeps it out of that block.

#include <glib.h>
#include <mdbtools.h>
