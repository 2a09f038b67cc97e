#pragma once
// The kind of an in-grid editor is the upper-cased first three letters of its name:
// "txtList" is a text editor, "cmbTipo" a combo box, and so on.

#include <string_view>

namespace zq {

/// The editor kinds the list class knows.
enum class EditorKind { Txt, Tdb, Cmb, Lst, Fme, Chk, Other };

/// Kind from an editor's name.
EditorKind editorKindOf(std::string_view name);

}  // namespace zq
