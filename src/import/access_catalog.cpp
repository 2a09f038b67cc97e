#include "import/access_catalog.h"

#include "import/import_error.h"
#include "import/mdb_file.h"

#include <optional>

namespace zq {

namespace {

// MSysObjects.Type values; forms, reports, macros and modules keep theirs negative.
std::optional<AccessObjectKind> kindOfType(long type) {
    switch (type) {
    case 1: return AccessObjectKind::Table;
    case 4: return AccessObjectKind::OdbcLink;
    case 6: return AccessObjectKind::AccessLink;
    case 5: return AccessObjectKind::Query;
    case 8: return AccessObjectKind::Relationship;
    case -32768: return AccessObjectKind::Form;
    case -32764: return AccessObjectKind::Report;
    case -32766: return AccessObjectKind::Macro;
    case -32761: return AccessObjectKind::Module;
    default: return std::nullopt;
    }
}

// Jet marks its own tables (MSys…, the data of complex columns) as system or hidden.
constexpr long long kSystemFlags = 0x80000002LL;

// One bound text column of MSysObjects.
struct BoundColumn {
    std::vector<char> text;
    int length = 0;
    std::string value() const { return std::string(text.data(), static_cast<std::size_t>(length)); }
};

}  // namespace

const char* kindName(AccessObjectKind kind) {
    switch (kind) {
    case AccessObjectKind::Table: return "tabella";
    case AccessObjectKind::OdbcLink: return "collegamento ODBC";
    case AccessObjectKind::AccessLink: return "collegamento Access";
    case AccessObjectKind::Query: return "query";
    case AccessObjectKind::Form: return "maschera";
    case AccessObjectKind::Report: return "report";
    case AccessObjectKind::Macro: return "macro";
    case AccessObjectKind::Module: return "modulo";
    case AccessObjectKind::Relationship: return "relazione";
    }
    return "";
}

std::vector<AccessObject> readAccessObjects(MdbHandle* mdb) {
    MdbTablePtr table = readTableDef(mdb, "MSysObjects", MDB_TABLE);
    if (!table) throw ImportError("ATTENZIONE!\r\nImpossibile leggere l'elenco degli oggetti del file Access.");
    const char* names[] = {"Name", "Type", "Flags", "Connect", "Database", "ForeignName"};
    BoundColumn cols[6];
    for (int i = 0; i < 6; ++i) {
        cols[i].text.assign(mdb->bind_size + 1, '\0');
        // A column missing from a very old file stays empty.
        mdb_bind_column_by_name(table.get(), const_cast<char*>(names[i]), cols[i].text.data(), &cols[i].length);
    }
    std::vector<AccessObject> out;
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        auto kind = kindOfType(std::strtol(cols[1].value().c_str(), nullptr, 10));
        if (!kind) continue;
        const long long flags = std::strtoll(cols[2].value().c_str(), nullptr, 10);
        const std::string name = cols[0].value();
        if (*kind == AccessObjectKind::Table && ((flags & kSystemFlags) != 0 || name.rfind("MSys", 0) == 0)) continue;
        AccessObject o;
        o.name = name;
        o.kind = *kind;
        o.connect = cols[3].value();
        o.database = cols[4].value();
        o.foreignName = cols[5].value();
        out.push_back(std::move(o));
    }
    return out;
}

}  // namespace zq
