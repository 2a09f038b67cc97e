#pragma once
// The list entries of the duplication forms. Entries hold the selection and what the
// run learns of each archive, not the controls.

#include "runtime/value.h"

#include <string>

namespace zq {

/// One archive of a source area (frmCopy's list, frmAnno's current area).
struct CopyRow {
    std::string Archivio;        ///< DB_ELENCO.ARCHIVIO: the name of the copy (editable)
    std::string Tabella;         ///< LCase(SYS_SERIALE) of the source: its table's name
    std::string Seriale;         ///< serial of the copy, once made
    std::string Cartella;        ///< documents folder of the copy, ending in a separator
    bool Selez = true;           ///< ticked for duplication
    bool Collegata = false;      ///< the source table is a link (CercLink)
    std::string TipoAss = "A";   ///< ar_dbelenco.tipo_ass of the source, "A" until read
    std::string TipoDocu;        ///< ar_dbelenco.tipo_doc of the source, empty until read
    DateTime DataCrea;           ///< when the copy was made
};

/// One area of the grouping list (frmGrup).
struct GrupRow {
    long Id_Area = 0;
    std::string area;
    bool Selez = false;
};

}  // namespace zq
