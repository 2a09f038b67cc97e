#include "import/access_table.h"

#include "import/mdb_file.h"

#include <cstring>

namespace zq {

namespace {

bool propIs(const MdbColumn* col, const char* key, const char* value) {
    const char* p = mdb_col_get_prop(col, key);
    return p && std::strcmp(p, value) == 0;
}

// The table definition page keeps the last AutoNumber given, just after the row count.
long long lastAutoNumber(MdbHandle* mdb, MdbTableDef* table) {
    if (mdb_read_pg(mdb, table->entry->table_pg) <= 0) return 0;
    return static_cast<long long>(
        static_cast<std::uint32_t>(mdb_get_int32(mdb->pg_buf, mdb->fmt->tab_num_rows_offset + 4)));
}

struct TypeRow {
    int mdbType;
    int jetType;
    long size;  // 0: the column's own
};

// libmdb's column types and the archive's type codes, with the sizes Jet reports.
const TypeRow kTypes[] = {
    {MDB_BOOL, dbBoolean, 1},     {MDB_BYTE, dbByte, 1},         {MDB_INT, dbInteger, 2},
    {MDB_LONGINT, dbLong, 4},     {MDB_MONEY, dbCurrency, 8},    {MDB_FLOAT, dbSingle, 4},
    {MDB_DOUBLE, dbDouble, 8},    {MDB_DATETIME, dbDate, 8},     {MDB_BINARY, dbBinary, 0},
    {MDB_TEXT, dbText, 0},        {MDB_OLE, dbLongBinary, 0},    {MDB_MEMO, dbMemo, 0},
    {MDB_REPID, dbGUID, 16},      {MDB_NUMERIC, dbDecimal, 16},
};

IndexDef indexOf(MdbTableDef* table, const MdbIndex* idx) {
    IndexDef i;
    i.name = idx->name;
    i.primary = idx->index_type == 1;
    i.unique = i.primary || (idx->flags & MDB_IDX_UNIQUE) != 0;
    i.ignoreNulls = (idx->flags & MDB_IDX_IGNORENULLS) != 0;
    i.required = i.primary || (idx->flags & MDB_IDX_REQUIRED) != 0;
    for (unsigned k = 0; k < idx->num_keys; ++k) {
        const int n = idx->key_col_num[k] - 1;  // libmdb counts key columns from 1
        if (n < 0 || n >= static_cast<int>(table->num_cols)) return IndexDef{};
        i.fields.push_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, n))->name);
        i.descending.push_back(idx->key_col_order[k] == MDB_DESC);
    }
    return i;
}

}  // namespace

FieldDef fieldOfColumn(const MdbHandle* mdb, const MdbColumn* col) {
    FieldDef f;
    f.name = col->name;
    f.type = 0;
    for (const auto& row : kTypes) {
        if (row.mdbType != col->col_type) continue;
        f.type = row.jetType;
        f.size = row.size ? row.size : col->col_size;
    }
    if (f.type == 0) return f;
    f.attributes = col->is_fixed ? dbFixedField : dbVariableField;
    if (f.type == dbText && unicodeText(mdb)) f.size = col->col_size / 2;  // bytes of UCS-2
    if (f.type == dbMemo || f.type == dbLongBinary) f.size = 0;
    if (f.type == dbLong && col->is_long_auto) f.attributes = dbFixedField | dbAutoIncrField;
    f.required = propIs(col, "Required", "yes");
    f.allowZeroLength = propIs(col, "AllowZeroLength", "yes");
    if (const char* d = mdb_col_get_prop(col, "DefaultValue")) f.defaultValue = d;
    return f;
}

AccessTable describeTable(MdbHandle* mdb, MdbTableDef* table) {
    AccessTable t;
    t.def.name = table->name;
    for (unsigned c = 0; c < table->num_cols; ++c) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
        FieldDef f = fieldOfColumn(mdb, col);
        if (f.type == 0) {
            t.leftOut.push_back("colonna " + f.name + ": tipo Access " + std::to_string(col->col_type) +
                                " (multivalore o allegato) non previsto dall'archivio");
            continue;
        }
        f.ordinalPosition = static_cast<int>(t.def.fields.size());
        t.def.fields.push_back(f);
        t.sourceColumns.push_back(static_cast<int>(c));
    }
    for (unsigned n = 0; n < table->num_idxs; ++n) {
        auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(table->indices, n));
        if (idx->index_type == 2) continue;  // the other side of a relationship: no index of its own
        IndexDef i = indexOf(table, idx);
        bool complete = !i.fields.empty();
        for (const auto& field : i.fields) complete = complete && t.def.findField(field);
        if (!complete) {
            t.leftOut.push_back(std::string("indice ") + idx->name + ": campi non leggibili o non importati");
            continue;
        }
        t.def.indexes.push_back(i);
    }
    for (const auto& f : t.def.fields)
        if (f.type == dbLong && (f.attributes & dbAutoIncrField)) t.lastCounter = lastAutoNumber(mdb, table);
    return t;
}

}  // namespace zq
