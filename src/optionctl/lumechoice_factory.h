#pragma once
// Creation of the library's controls by identifier, the way the program places them on
// its forms. The C entry points can be looked up by name in the loaded library
// (QLibrary::resolve("Lumechoice_CreateControl")); the C++ helpers are for code that links it.

#include "optionctl/lumechoice_export.h"

#include <QString>
#include <QStringList>

class QWidget;

extern "C" {
/// Creates the control named by identifier ("Lumechoice.optSiNo", any case) as a child of
/// parent; nullptr for an identifier this library does not serve.
LUMECHOICE_EXPORT QWidget* Lumechoice_CreateControl(const char* identifier, QWidget* parent);
/// The identifiers served, ending with nullptr.
LUMECHOICE_EXPORT const char* const* Lumechoice_Identifiers();
}

namespace zq::lumechoice {

/// See Lumechoice_CreateControl.
LUMECHOICE_EXPORT QWidget* createControl(const QString& identifier, QWidget* parent = nullptr);
/// See Lumechoice_Identifiers.
LUMECHOICE_EXPORT QStringList identifiers();

}  // namespace zq::lumechoice
