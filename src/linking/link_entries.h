#pragma once
// The list entries of the link, DAV-link, unlink and pre-mastering lists, and the
// registry values one link writes. Entries hold the selection, not the controls.

#include <string>

namespace zq {

/// One archive of the link lists (frmColl, frmCDAV).
struct ArchRow {
    std::string description;   ///< DB_ELENCO.ARCHIVIO
    std::string area;          ///< AREE.AREA
    std::string serial;        ///< SYS_SERIALE in lower case: the archive table's name
    std::string serverPath;    ///< PathServ of sys_path_docs
    bool selected = false;
    bool linked = false;       ///< CercLink of the serial at load
    std::string associationType = "A";  ///< "M" or "A"
    int docTypeIndex = -1;     ///< index into aDocs; -1 for none and for "A"
};

/// One archive of the unlink and pre-mastering lists (frmFree, frmMast).
struct FreeRow {
    std::string description;
    std::string area;
    std::string serial;        ///< lower case
    std::string company;       ///< ar_dbelenco.ditt (empty when Null)
    bool selected = false;
    // What the grid shows besides.
    std::string yearText;      ///< empty for 9999 and Null
    std::string associationText;  ///< "Movimento", "Altro" or empty
    std::string docTypeText;   ///< Descr of the document type, when known
};

/// The values of one archive's registry row.
struct LinkParams {
    std::string ditt;       ///< company code
    long anno = 0;          ///< year, 9999 for "A" and DAV
    std::string tipoAss;    ///< "M" or "A"
    std::string tipoDoc;    ///< document-type code; empty for "A"
};

}  // namespace zq
