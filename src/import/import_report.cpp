#include "import/import_report.h"

#include "import/import_error.h"

#include <fstream>

namespace zq {

namespace {

// Tabs and line breaks would break a TSV line.
std::string cell(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return s;
}

std::string plural(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool isTableOrLink(AccessObjectKind k) {
    return k == AccessObjectKind::Table || k == AccessObjectKind::OdbcLink || k == AccessObjectKind::AccessLink;
}

bool ImportReport::everythingImported() const {
    if (!completed) return false;
    for (const auto& i : items)
        if (isTableOrLink(i.kind) && !i.imported) return false;
    return true;
}

std::string ImportReport::summary() const {
    long long tables = 0, rows = 0, links = 0, leftOut = 0;
    for (const auto& i : items) {
        if (!i.imported) ++leftOut;
        else if (i.kind == AccessObjectKind::Table) ++tables, rows += i.rowsWritten;
        else ++links;
    }
    if (!completed) return "Importazione non completata: nessun archivio creato.";
    return "Importate " + plural(tables, "tabella", "tabelle") + " (" + plural(rows, "riga", "righe") + ") e " +
           plural(links, "collegamento", "collegamenti") + "; " +
           plural(leftOut, "oggetto non importato", "oggetti non importati") + ".";
}

std::string ImportReport::tsv() const {
    std::string out = "oggetto\ttipo\trighe_lette\trighe_scritte\tcolonne\tindici\tesito\tnote\n";
    for (const auto& i : items)
        out += cell(i.name) + "\t" + kindName(i.kind) + "\t" + std::to_string(i.rowsRead) + "\t" +
               std::to_string(i.rowsWritten) + "\t" + std::to_string(i.columns) + "\t" +
               std::to_string(i.indexes) + "\t" + (i.imported ? "importato" : "non importato") + "\t" +
               cell(i.note) + "\n";
    out += "# " + summary() + "\n";
    return out;
}

void ImportReport::writeTsv(const std::filesystem::path& file) const {
    const auto partial = std::filesystem::path(file.string() + ".parziale");
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << tsv();
        if (!out.flush()) throw ImportError("ATTENZIONE!\r\nImpossibile scrivere il rapporto\r\n" + file.string());
    }
    std::error_code ec;
    std::filesystem::rename(partial, file, ec);
    if (ec) throw ImportError("ATTENZIONE!\r\nImpossibile scrivere il rapporto\r\n" + file.string());
}

}  // namespace zq
