#include "import/mdb_file.h"

#include "import/import_error.h"

#include <cstdio>
#include <cstring>
#include <fstream>

namespace zq {

namespace {

std::string unreadable(const std::filesystem::path& file, const std::string& why) {
    return "ATTENZIONE!\r\nImpossibile leggere l'archivio Access\r\n" + file.string() + "\r\n" + why;
}

}  // namespace

// NOTE: libmdb writes through the C streams stdout and stderr; glibc lets them be
// reassigned, while the C++ streams keep the ones they were made with.
LibmdbSilence::LibmdbSilence() : out_(stdout), err_(stderr), null_(std::fopen("/dev/null", "w")) {
    if (!null_) return;
    stdout = null_;
    stderr = null_;
}

LibmdbSilence::~LibmdbSilence() {
    if (!null_) return;
    stdout = out_;
    stderr = err_;
    std::fclose(null_);
}

bool looksLikeAccessFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char head[20] = {};
    if (!in.read(head, sizeof head)) return false;
    return std::memcmp(head + 4, "Standard Jet DB", 15) == 0 || std::memcmp(head + 4, "Standard ACE DB", 15) == 0;
}

MdbFilePtr openAccessFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw ImportError(unreadable(file, "Il file non esiste."));
    if (!looksLikeAccessFile(file))
        throw ImportError(unreadable(file, "Il file non è un database Access (.mdb, .accdb)."));
    MdbFilePtr mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb) throw ImportError(unreadable(file, "Il file è danneggiato o protetto (crittografia, password)."));
    // Encrypted ACE files and files with unreadable system pages give no catalog, or
    // one without its own MSysObjects.
    if (!mdb_read_catalog(mdb.get(), MDB_ANY) || !mdb_get_catalogentry_by_name(mdb.get(), "MSysObjects"))
        throw ImportError(unreadable(file, "Il file è danneggiato o protetto (crittografia, password)."));
    return mdb;
}

MdbTablePtr readTableDef(MdbHandle* mdb, const char* name, int objectType) {
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != objectType || std::strcmp(entry->object_name, name) != 0) continue;
        MdbTablePtr table(mdb_read_table(entry));
        if (!table) return nullptr;
        if (!mdb_read_columns(table.get())) return nullptr;
        mdb_read_indices(table.get());
        return table;
    }
    return nullptr;
}

}  // namespace zq
