#pragma once
// What an import did, object by object: rows read and written, columns, indexes, what
// was left out and why; a summary line; the same as TSV for a file.

#include "import/access_catalog.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zq {

struct ImportItem {
    std::string name;
    AccessObjectKind kind = AccessObjectKind::Table;
    long long rowsRead = 0;
    long long rowsWritten = 0;
    int columns = 0;
    int indexes = 0;
    bool imported = false;
    std::string note;  ///< why it was left out, or what to know about it (Italian)
};

/// Tables and links: what an import is complete only with (queries, forms … are not).
bool isTableOrLink(AccessObjectKind kind);

struct ImportReport {
    std::string source;
    std::string target;
    std::vector<ImportItem> items;
    bool completed = false;  ///< the new archive is in place
    std::string failure;     ///< the message that stopped the import (empty when none)

    /// True when the archive is in place and every table and link came over.
    bool everythingImported() const;
    /// "Importate 3 tabelle (11 righe) e 1 collegamento; 2 oggetti non importati."
    std::string summary() const;
    /// One line per object, tab-separated, with a header line; the summary last.
    std::string tsv() const;
    /// Writes tsv() to `file` (through a temporary file renamed over it). Throws ImportError.
    void writeTsv(const std::filesystem::path& file) const;
};

}  // namespace zq
