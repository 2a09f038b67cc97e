#pragma once
// The archives the conversion form lists: every DB_ELENCO row with its area, in area
// and archive order.

#include "dataaccess/connection.h"

#include <string>
#include <vector>

namespace zq {

/// One archive of the conversion list.
struct TiffEntry {
    std::string archivio;   ///< ARCHIVIO, as stored
    std::string tabella;    ///< SYS_SERIALE, lower-cased: the archive's table
    std::string area;       ///< AREA, trimmed
    std::string pathDocs;   ///< sys_path_docs, as stored
    bool selected = false;  ///< ticked in the list
};

/// The statement the list is read with.
inline constexpr const char* kTiffListQuery =
    "SELECT AREE.AREA,DB_ELENCO.* From DB_ELENCO, AREE Where DB_ELENCO.ID_AREA = AREE.ID_AREA ORDER BY AREA, ARCHIVIO";

/// Reads the list (forward-only, read-only) on the archive connection. Rows whose
/// ARCHIVIO, SYS_SERIALE or sys_path_docs is Null are left out. Errors throw zq::Error.
std::vector<TiffEntry> loadTiffEntries(Connection& cnnArch);

}  // namespace zq
