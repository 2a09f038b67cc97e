#pragma once
// Creation of the library's controls by identifier, the way the program places them on
// its forms. The C entry points can be looked up by name in the loaded library
// (QLibrary::resolve("Lumetext_CreateControl")); the C++ helpers are for code that links it.

#include "textbox/lumetext_export.h"

#include <QString>
#include <QStringList>

class QWidget;

extern "C" {
/// Creates the control named by identifier ("Lumetext.txtFrmt", any case) as a child of
/// parent; nullptr for an identifier this library does not serve.
LUMETEXT_EXPORT QWidget* Lumetext_CreateControl(const char* identifier, QWidget* parent);
/// The identifiers served, ending with nullptr.
LUMETEXT_EXPORT const char* const* Lumetext_Identifiers();
}

namespace zq::lumetext {

/// See Lumetext_CreateControl.
LUMETEXT_EXPORT QWidget* createControl(const QString& identifier, QWidget* parent = nullptr);
/// See Lumetext_Identifiers.
LUMETEXT_EXPORT QStringList identifiers();

}  // namespace zq::lumetext
