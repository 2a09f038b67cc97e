#pragma once
// Owners of mdbtools' libmdb handles, and the one place an Access file is opened.
//
// libmdb reads Jet 3 (Access 97), Jet 4 (2000-2003) and ACE (2007 and later) files; it
// never writes them here: every handle is opened without MDB_WRITABLE.

#include "import/libmdb.h"

#include <filesystem>
#include <memory>

namespace zq {

/// Closes a libmdb file handle.
struct MdbCloser {
    void operator()(MdbHandle* mdb) const noexcept { mdb_close(mdb); }
};
/// Frees a table definition with its columns and indexes.
struct MdbTableFreer {
    void operator()(MdbTableDef* table) const noexcept { mdb_free_tabledef(table); }
};
using MdbFilePtr = std::unique_ptr<MdbHandle, MdbCloser>;
using MdbTablePtr = std::unique_ptr<MdbTableDef, MdbTableFreer>;

/// libmdb reports damage by printing English on standard output and error. While one
/// of these lives, libmdb's prints go nowhere: the import says what happened in Italian.
/// The program's own streams (std::cout, std::cerr) are not affected.
class LibmdbSilence {
public:
    LibmdbSilence();
    ~LibmdbSilence();
    LibmdbSilence(const LibmdbSilence&) = delete;
    LibmdbSilence& operator=(const LibmdbSilence&) = delete;

private:
    FILE* out_;
    FILE* err_;
    FILE* null_;
};

/// Opens an Access file read-only and reads its catalog. Throws ImportError with the
/// Italian message for a file that is missing, not an Access file, or unreadable.
MdbFilePtr openAccessFile(const std::filesystem::path& file);

/// True when the file begins like a Jet or ACE database (the archive path of an
/// office that still keeps its Access archive).
bool looksLikeAccessFile(const std::filesystem::path& file);

/// Reads the definition (columns, indexes) of a table or cached link of the catalog.
/// Nothing when libmdb cannot read it.
MdbTablePtr readTableDef(MdbHandle* mdb, const char* name, int objectType);

/// Whether text columns hold two bytes per character (Jet 4 and ACE).
inline bool unicodeText(const MdbHandle* mdb) { return mdb->f->jet_version != MDB_VER_JET3; }

}  // namespace zq
