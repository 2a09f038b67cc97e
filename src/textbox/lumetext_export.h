#pragma once
// Symbol visibility of the Lumetext control library.

#include <QtCore/qglobal.h>

#if defined(LUMETEXT_BUILD)
#define LUMETEXT_EXPORT Q_DECL_EXPORT
#else
#define LUMETEXT_EXPORT Q_DECL_IMPORT
#endif
