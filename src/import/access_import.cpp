#include "import/access_import.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "dataaccess/counter.h"
#include "dataaccess/archive_schema.h"
#include "dataaccess/sqlite_archive_database.h"
#include "dataaccess/sqlite_handle.h"
#include "import/access_catalog.h"
#include "import/access_table.h"
#include "import/import_error.h"
#include "import/link_import.h"
#include "import/mdb_file.h"
#include "import/row_copy.h"

#include <fcntl.h>
#include <unistd.h>

namespace zq {

namespace {

constexpr const char* kSource = "zq.import";

void removeQuietly(const std::filesystem::path& file) {
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(std::filesystem::path(file.string() + suffix), ec);
}

void syncPath(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string whyLeftOut(const AccessObject& o) {
    switch (o.kind) {
    case AccessObjectKind::AccessLink:
        return "collegamento alla tabella " + o.foreignName + " del file Access " + o.database +
               ": l'archivio collega solo tabelle TARV";
    case AccessObjectKind::Query: return "le query non fanno parte dell'archivio";
    case AccessObjectKind::Form: return "le maschere di Access non fanno parte dell'archivio";
    case AccessObjectKind::Report: return "i report di Access non fanno parte dell'archivio";
    case AccessObjectKind::Macro: return "le macro di Access non fanno parte dell'archivio";
    case AccessObjectKind::Module: return "i moduli di Access non fanno parte dell'archivio";
    case AccessObjectKind::Relationship: return "le relazioni non sono riportate nell'archivio";
    default: return {};
    }
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) out += (out.empty() ? "" : "; ") + p;
    return out;
}

std::string rowsLabel(const std::string& table, long long done, long long total) {
    return "Tabella " + table + ": " + std::to_string(done) + " di " + std::to_string(total) + " righe";
}

}  // namespace

std::filesystem::path AccessImport::partialFile(const std::filesystem::path& target) {
    return target.string() + ".parziale";
}

void AccessImport::checkTarget(const std::filesystem::path& source, const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::equivalent(source, target, ec))
        throw ImportError("ATTENZIONE!\r\nL'archivio nuovo non può essere il file Access stesso:\r\n" +
                          target.string());
    if (!std::filesystem::exists(target, ec) || std::filesystem::file_size(target, ec) == 0) return;
    bool empty = false;
    if (!looksLikeAccessFile(target)) {
        try {
            empty = ArchiveDatabase::open(target.string())->tableDefs().empty();
        } catch (const std::exception&) {
            empty = false;
        }
    }
    if (!empty)
        throw ImportError("ATTENZIONE!\r\nL'archivio\r\n" + target.string() +
                          "\r\nesiste già e contiene tabelle: l'importazione scrive solo in un archivio nuovo o vuoto.");
}

ImportReport AccessImport::run(const std::filesystem::path& source, const std::filesystem::path& target) {
    ImportReport report;
    report.source = source.string();
    report.target = target.string();
    const auto partial = partialFile(target);
    try {
        checkTarget(source, target);
        removeQuietly(partial);  // what a killed run left
        {
            LibmdbSilence quiet;
            build(source, partial, report);
        }
        syncPath(partial);
        std::filesystem::rename(partial, target);
        syncPath(target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path());
        report.completed = true;
    } catch (const ImportError& e) {
        report.failure = e.what();
    } catch (const std::exception& e) {
        report.failure = "ATTENZIONE!\r\nImportazione non riuscita.\r\n\r\n" + toError(e).description();
    }
    if (!report.completed) {
        removeQuietly(partial);
        dialogs_.message(Message{report.failure, kImportTitle, Buttons::Ok, Icon::Exclamation});
    }
    progress_.end();
    return report;
}

void AccessImport::build(const std::filesystem::path& source, const std::filesystem::path& partial,
                         ImportReport& report) {
    MdbFilePtr mdb = openAccessFile(source);
    const std::vector<AccessObject> objects = readAccessObjects(mdb.get());
    progress_.begin("Importazione di " + source.filename().string());

    auto handle = openArchiveHandle(partial.string(), /*create=*/true);
    SqliteArchiveDatabase archive(handle, partial.string());
    // Nothing of the file counts until it is renamed into place, so it is written
    // without a sync per transaction; it is synced once before the rename.
    execSql(handle.get(), "PRAGMA synchronous = OFF", kSource);
    ArchiveTransaction transaction(archive);

    for (const auto& o : objects) {
        ImportItem item;
        item.name = o.name;
        item.kind = o.kind;
        if (o.kind == AccessObjectKind::OdbcLink) {
            importOdbcLink(mdb.get(), o, handle.get(), item);
        } else if (o.kind != AccessObjectKind::Table) {
            item.note = whyLeftOut(o);
        } else {
            MdbTablePtr table = readTableDef(mdb.get(), o.name.c_str(), MDB_TABLE);
            if (!table)
                throw ImportError("ATTENZIONE!\r\nLa tabella " + o.name +
                                  " non si può leggere: la sua definizione è danneggiata.\r\n\r\nImportazione interrotta.");
            AccessTable def = describeTable(mdb.get(), table.get());
            try {
                archive.createTable(def.def);
            } catch (const Error& e) {
                throw ImportError("ATTENZIONE!\r\nLa tabella " + o.name +
                                  " non si può creare nell'archivio.\r\n\r\n" + e.description());
            }
            const long long total = table->num_rows;
            progress_.setRange(static_cast<long>(total));
            progress_.setLabel(rowsLabel(o.name, 0, total));
            const RowCounts counts = copyRows(mdb.get(), table.get(), def, handle.get(), [&](long long done) {
                if (progress_.cancelRequested())
                    throw ImportError("Importazione annullata: nessun archivio creato.");
                progress_.setValue(static_cast<long>(done));
                progress_.setLabel(rowsLabel(o.name, done, total));
            });
            if (def.lastCounter > 0) raiseCounter(handle.get(), o.name, def.lastCounter, kSource);
            item.rowsRead = counts.read;
            item.rowsWritten = counts.written;
            item.columns = static_cast<int>(def.def.fields.size());
            item.indexes = static_cast<int>(def.def.indexes.size());
            item.imported = def.leftOut.empty();
            item.note = joined(def.leftOut);
        }
        report.items.push_back(item);
    }
    transaction.commit();
    archive.close();
}

}  // namespace zq
