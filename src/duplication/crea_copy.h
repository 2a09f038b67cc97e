#pragma once
// CreaCopy, the archive duplication core: one new archive made as an empty copy of a
// source archive - a fresh serial, the copy's documents folder with its DURuv.id, a
// table with the source's fields and indexes (no rows), its DB_ELENCO row and, when
// asked, its link to the company database (CollTable's copy link).
//
// The area duplication runs it whole (run()); the year duplication and the grouping
// call its steps with their own differences. A failing statement or data-access call
// goes through the error report under the names the caller gives: Retry repeats it,
// Ignore ends this archive's steps (the next archive follows), Abort throws
// AbortProgram.

#include "app/session.h"
#include "dataaccess/archive_db.h"
#include "duplication/archive_serial.h"
#include "duplication/copy_row.h"
#include "linking/index_namer.h"
#include "linking/link_entries.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace zq {

/// Whose messages and error reports these are.
struct CopyNames {
    std::string module;   ///< "frmCopy", "frmAnno", "frmGrup"
    std::string routine;  ///< "CreaCopy", "CreaArch", "CreaGrup"
    std::string caption;  ///< the form's caption: the title of its messages
};

/// The values of a new DB_ELENCO row that differ between the operations.
struct ElencoRow {
    std::string serial;
    long idArea = 0;
    DateTime created;
    std::string archivio;
    std::string pathDocs;
    int anno = 0;
    std::optional<std::string> codFis;  ///< only the grouping archive has one
};

/// The values of a source archive's registry row, trimmed; nothing where Null.
struct RegistryRow {
    std::optional<std::string> ditt, tipoAss, tipoDoc;
    std::optional<long> anno;
};

class CreaCopy {
public:
    enum class Outcome {
        Copied,   ///< table, folder and DB_ELENCO row made (linked when asked)
        Linked,   ///< copied and linked
        Skipped,  ///< refused with its message (missing source, folder) before any table
        Stopped   ///< Ignore in the error report ended its steps
    };
    using Clock = std::function<DateTime()>;

    CreaCopy(Session& session, ArchiveDatabase& db, CopyNames names, ArchiveSerial::Random random = {},
             Clock clock = {});

    /// The area duplication's core for entry `e`: its folder under `areaFolder`, its
    /// row in area `idArea` through the open `elenco`, and the link when `link` and
    /// e.Collegata (company `ditt`, year text `yearText`).
    Outcome run(CopyRow& e, const std::string& areaFolder, long idArea, Recordset& elenco, bool link,
                const std::string& ditt, const std::string& yearText);

    // ---- the steps, for the operations that vary them

    /// Steps 1-2: DataCrea = now and a serial that names no table of the archive yet
    /// (drawn again when the random digits meet one, or one made earlier in the run).
    void newSerial(CopyRow& e);
    /// Steps 3-4: the table definition of the source (Tabella, & "_sav" when linked);
    /// nothing after "Impossiile trovare la tabella origine dell'archivio" naming `shownName`.
    std::optional<TableDef> sourceTable(const std::string& tabella, bool linked, const std::string& shownName,
                                        bool& stopped);
    /// Step 6: DURuv.id in e.Cartella.
    bool writeIdentity(const CopyRow& e, const std::string& name);
    /// Step 7: table `serial` with `leading` fields first, then the source's fields and
    /// its indexes without foreign ones; an index named "primario" (any case) gets in
    /// front those of the `primaryLeading` fields that the new table has.
    bool copyStructure(const TableDef& source, const std::string& serial, const std::vector<FieldDef>& leading = {},
                       const std::vector<std::string>& primaryLeading = {});
    /// Step 8: the DB_ELENCO row (tipo_doc and tipo_arch skipped when the columns are missing).
    bool addElencoRow(Recordset& elenco, const ElencoRow& row);

    /// The registry row of the source archive whose table is `tabella` ("a" & tabella).
    bool registryOf(const std::string& tabella, std::optional<RegistryRow>& row);
    /// The parameter check of the copy link: true when ar_dbelenco has no row with these
    /// values; otherwise "Non è possibile collegare al TARV l'archivio" naming `archivio`.
    bool parametersFree(const LinkParams& p, const std::string& archivio, bool& stopped);
    /// CollTable's copy link of table `serial` with documents folder `folder`, in the
    /// database of company p.ditt (useCompany).
    Outcome link(const std::string& serial, const LinkParams& p, const std::string& folder);
    /// The run's own connection to company `ditt`, opened when the run meets another
    /// company (the session's CnnDitt, which the pickers move, is never used or moved);
    /// false after Ignore in the error report.
    bool useCompany(const std::string& ditt);
    /// The company useCompany opened last; an Error when none is open.
    Connection& companyConnection() const;

    /// Runs one statement under the error report of this copy.
    bool guard(const std::string& query, const std::function<void()>& statement);
    void inform(const std::string& text);

    /// Called by run() once the copy's serial and folder are known, before anything is
    /// made: where the caller journals what a killed run must undo.
    std::function<void(const CopyRow&)> beforeChanges;

    const CopyNames& names() const { return names_; }
    Session& session() { return session_; }

private:
    Session& session_;
    ArchiveDatabase& db_;
    CopyNames names_;
    ArchiveSerial::Random random_;
    Clock clock_;
    IndexNamer namer_;
    std::set<std::string> given_;  // serials given in this run (lower case)
    std::optional<CompanyDb> company_;  // the run's company connection (useCompany)
};

}  // namespace zq
