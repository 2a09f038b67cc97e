#include "listctl/editor_kind.h"

#include <cctype>
#include <string>

namespace zq {

EditorKind editorKindOf(std::string_view name)
{
    std::string prefix;
    for (char ch : name.substr(0, 3))
        prefix += char(std::toupper(static_cast<unsigned char>(ch)));
    if (prefix == "TXT") return EditorKind::Txt;
    if (prefix == "TDB") return EditorKind::Tdb;
    if (prefix == "CMB") return EditorKind::Cmb;
    if (prefix == "LST") return EditorKind::Lst;
    if (prefix == "FME") return EditorKind::Fme;
    if (prefix == "CHK") return EditorKind::Chk;
    return EditorKind::Other;
}

}  // namespace zq
