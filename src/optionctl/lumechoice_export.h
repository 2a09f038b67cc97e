#pragma once
// Symbol visibility of the Lumechoice control library.

#include <QtCore/qglobal.h>

#if defined(LUMECHOICE_BUILD)
#define LUMECHOICE_EXPORT Q_DECL_EXPORT
#else
#define LUMECHOICE_EXPORT Q_DECL_IMPORT
#endif
