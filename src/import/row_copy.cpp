#include "import/row_copy.h"

#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_handle.h"
#include "import/import_error.h"
#include "import/mdb_file.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace zq {

namespace {

constexpr const char* kSource = "zq.import";
constexpr int kRowOffsetMask = 0x1fff;  // row offsets carry deleted/overflow flags above
constexpr int kDeletedRow = 0x4000;
constexpr long long kProgressEvery = 4096;

std::uint32_t le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

[[noreturn]] void unreadable(const std::string& table, const std::string& why) {
    throw ImportError("ATTENZIONE!\r\nLa tabella " + table + " non si può leggere per intero:\r\n" + why +
                      "\r\n\r\nImportazione interrotta.");
}

// A Memo or OLE value: inline, on one page, or as a chain of pages, as its 12-byte
// header says.
std::string longValue(MdbHandle* mdb, const unsigned char* header, const std::string& table) {
    const std::uint32_t word = le32(header);
    const std::uint32_t length = word & 0x3fffffff;
    if (word & 0x80000000) return std::string(reinterpret_cast<const char*>(header + 12), length);
    std::uint32_t pgRow = le32(header + 4);
    std::string out;
    const bool onePage = (word & 0x40000000) != 0;
    for (int pages = 0; pgRow != 0 && out.size() < length; ++pages) {
        void* buf = nullptr;
        int start = 0;
        size_t len = 0;
        if (pages > 1 << 20 || mdb_find_pg_row(mdb, static_cast<int>(pgRow), &buf, &start, &len) != 0)
            unreadable(table, "un campo Memo o OLE rimanda a una pagina illeggibile.");
        const auto* row = static_cast<const unsigned char*>(buf) + (start & kRowOffsetMask);
        if ((start & kRowOffsetMask) + len > static_cast<size_t>(mdb->fmt->pg_size))
            unreadable(table, "un campo Memo o OLE rimanda a una riga fuori pagina.");
        if (onePage) return std::string(reinterpret_cast<const char*>(row), std::min<size_t>(len, length));
        if (len < 4) unreadable(table, "catena di un campo Memo o OLE interrotta.");
        pgRow = le32(row);
        out.append(reinterpret_cast<const char*>(row + 4), len - 4);
    }
    if (out.size() < length) unreadable(table, "un campo Memo o OLE è più corto di quanto dichiara.");
    out.resize(length);
    return out;
}

// Text as Jet keeps it (UCS-2, possibly compressed; a code page in Jet 3) to UTF-8.
void bindText(MdbHandle* mdb, sqlite3_stmt* st, int index, const void* data, size_t size, std::string& scratch) {
    scratch.resize(size * 3 + 4);
    const int n = mdb_unicode2ascii(mdb, static_cast<const char*>(data), size, scratch.data(), scratch.size());
    sqlite3_bind_text(st, index, scratch.data(), n, SQLITE_TRANSIENT);
}

void bindDate(sqlite3_stmt* st, int index, double value) {
    struct tm t = {};
    mdb_date_to_tm(value, &t);
    char buf[64];
    if (t.tm_hour || t.tm_min || t.tm_sec)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                      t.tm_hour, t.tm_min, t.tm_sec);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    sqlite3_bind_text(st, index, buf, -1, SQLITE_TRANSIENT);
}

void bindOwned(sqlite3_stmt* st, int index, char* text) {
    sqlite3_bind_text(st, index, text ? text : "", -1, SQLITE_TRANSIENT);
    g_free(text);
}

class RowWriter {
public:
    RowWriter(MdbHandle* mdb, MdbTableDef* source, const AccessTable& def, sqlite3* db)
        : mdb_(mdb), source_(source), def_(def), insert_(db, insertSql(def), kSource), db_(db) {
        slot_.assign(source->num_cols, 0);
        for (size_t i = 0; i < def.sourceColumns.size(); ++i)
            slot_[static_cast<size_t>(def.sourceColumns[i])] = static_cast<int>(i) + 1;
    }

    void write(const MdbField* fields, int count) {
        sqlite3_stmt* st = insert_.get();
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        // The count a row gives includes columns deleted since it was written; the
        // fields of the table's own columns come first, one per column.
        count = std::min(count, static_cast<int>(source_->num_cols));
        for (int i = 0; i < count; ++i) {
            const int slot = fields[i].colnum < static_cast<int>(slot_.size()) ? slot_[fields[i].colnum] : 0;
            if (slot == 0) continue;
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(source_->columns, fields[i].colnum));
            bind(col, fields[i], slot);
        }
        if (sqlite3_step(st) != SQLITE_DONE) throwSqlite(db_, "insert into " + def_.def.name, kSource);
    }

private:
    static std::string insertSql(const AccessTable& def) {
        std::string names, marks;
        for (const auto& f : def.def.fields) {
            names += (names.empty() ? "" : ", ") + sqliteName(f.name);
            marks += marks.empty() ? "?" : ", ?";
        }
        return "INSERT INTO " + sqliteName(def.def.name) + " (" + names + ") VALUES (" + marks + ")";
    }

    void bind(MdbColumn* col, const MdbField& f, int slot) {
        sqlite3_stmt* st = insert_.get();
        const unsigned char* p = mdb_->pg_buf + f.start;
        if (col->col_type == MDB_BOOL) {
            sqlite3_bind_int(st, slot, f.is_null ? 0 : 1);  // Jet keeps Yes/No in the null mask
            return;
        }
        if (f.is_null) return;
        switch (col->col_type) {
        case MDB_BYTE: sqlite3_bind_int(st, slot, p[0]); break;
        case MDB_INT: sqlite3_bind_int(st, slot, static_cast<std::int16_t>(p[0] | p[1] << 8)); break;
        case MDB_LONGINT: sqlite3_bind_int64(st, slot, static_cast<std::int32_t>(le32(p))); break;
        case MDB_MONEY: {
            const auto units = static_cast<std::int64_t>(std::uint64_t(le32(p)) | std::uint64_t(le32(p + 4)) << 32);
            bindCurrency(st, slot, Currency::fromUnits(units));  // Jet's ten-thousandths, every digit
            break;
        }
        case MDB_FLOAT: sqlite3_bind_double(st, slot, mdb_get_single(mdb_->pg_buf, f.start)); break;
        case MDB_DOUBLE: sqlite3_bind_double(st, slot, mdb_get_double(mdb_->pg_buf, f.start)); break;
        case MDB_DATETIME: bindDate(st, slot, mdb_get_double(mdb_->pg_buf, f.start)); break;
        case MDB_TEXT: bindText(mdb_, st, slot, p, static_cast<size_t>(f.siz), scratch_); break;
        case MDB_MEMO: {
            const std::string raw = longValue(mdb_, p, def_.def.name);
            bindText(mdb_, st, slot, raw.data(), raw.size(), scratch_);
            break;
        }
        case MDB_OLE: {
            const std::string raw = longValue(mdb_, p, def_.def.name);
            sqlite3_bind_blob(st, slot, raw.data(), static_cast<int>(raw.size()), SQLITE_TRANSIENT);
            break;
        }
        case MDB_BINARY: sqlite3_bind_blob(st, slot, p, f.siz, SQLITE_TRANSIENT); break;
        case MDB_REPID: bindOwned(st, slot, mdb_uuid_to_string(mdb_->pg_buf, f.start)); break;
        case MDB_NUMERIC: bindOwned(st, slot, mdb_numeric_to_string(mdb_, f.start, col->col_scale, col->col_prec)); break;
        default: break;
        }
    }

    MdbHandle* mdb_;
    MdbTableDef* source_;
    const AccessTable& def_;
    Statement insert_;
    sqlite3* db_;
    std::vector<int> slot_;  // per source column: its parameter number, 0 when left out
    std::string scratch_;
};

}  // namespace

RowCounts copyRows(MdbHandle* mdb, MdbTableDef* source, const AccessTable& def, sqlite3* db,
                   const RowProgress& progress) {
    RowWriter writer(mdb, source, def, db);
    RowCounts counts;
    std::vector<MdbField> fields(MDB_MAX_COLS);
    mdb_rewind_table(source);
    while (mdb_read_next_dpg(source) > 0) {
        if (mdb->pg_buf[0] != MDB_PAGE_DATA) unreadable(def.def.name, "una pagina di dati è danneggiata.");
        const int rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
        for (int r = 0; r < rows; ++r) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, r, &start, &size) != 0 || size == 0) continue;
            if (start & kDeletedRow) continue;
            start &= kRowOffsetMask;
            if (static_cast<size_t>(start) + size > static_cast<size_t>(mdb->fmt->pg_size))
                unreadable(def.def.name, "una riga esce dalla sua pagina.");
            const int n = mdb_crack_row(source, start, size, fields.data());
            if (n < 0) unreadable(def.def.name, "una riga è danneggiata.");
            ++counts.read;
            writer.write(fields.data(), n);
            ++counts.written;
            if (counts.read % kProgressEvery == 0 && progress) progress(counts.read);
        }
    }
    if (counts.read != static_cast<long long>(source->num_rows))
        unreadable(def.def.name, "lette " + std::to_string(counts.read) + " righe su " +
                                     std::to_string(source->num_rows) + ".");
    if (progress) progress(counts.read);
    return counts;
}

}  // namespace zq
