#include "dataaccess/odbc/odbc_recordset.h"

#include "dataaccess/odbc/odbc_diagnostics.h"
#include "dataaccess/odbc/odbc_sql_text.h"
#include "dataaccess/odbc/odbc_text.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace zq {

namespace {

const char* kSource = "ODBC Recordset";

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string rtrimBlanks(std::string s) {
    auto e = s.find_last_not_of(' ');
    s.erase(e == std::string::npos ? 0 : e + 1);
    return s;
}

bool isFixedChar(SQLSMALLINT t) { return t == SQL_CHAR || t == SQL_WCHAR; }

// Columns whose equality is unreliable or unsupported in a WHERE condition.
bool comparable(const OdbcColumn& c) {
    switch (c.sqlType) {
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE:
    case SQL_LONGVARCHAR: case SQL_WLONGVARCHAR: case SQL_LONGVARBINARY:
        return false;
    default:
        return true;
    }
}

[[noreturn]] void fail(const std::string& what) { throw Error(kErrProviderFailure, what, kSource); }

// Reads one text column of a catalogue result (SQLPrimaryKeys, SQLStatistics).
std::string catalogText(SQLHSTMT h, SQLUSMALLINT col, bool wide) {
    SQLLEN ind = 0;
    if (!wide) {
        char narrow[512] = {};
        if (!SQL_SUCCEEDED(SQLGetData(h, col, SQL_C_CHAR, narrow, sizeof narrow, &ind)) || ind == SQL_NULL_DATA)
            return {};
        return std::string(narrow);
    }
    SQLWCHAR buf[256] = {};
    if (!SQL_SUCCEEDED(SQLGetData(h, col, SQL_C_WCHAR, buf, sizeof buf, &ind)) || ind == SQL_NULL_DATA) return {};
    return fromOdbcText(buf, std::min<std::size_t>(static_cast<std::size_t>(ind) / sizeof(SQLWCHAR), 255));
}

long catalogNumber(SQLHSTMT h, SQLUSMALLINT col) {
    SQLINTEGER v = 0;
    SQLLEN ind = 0;
    if (!SQL_SUCCEEDED(SQLGetData(h, col, SQL_C_SLONG, &v, 0, &ind)) || ind == SQL_NULL_DATA) return -1;
    return v;
}

bool sameValue(const Value& a, const Value& b, const OdbcColumn& col) {
    if (a.isNullish() || b.isNullish()) return a.isNullish() && b.isNullish();
    if (a.kind() == ValueKind::Text || b.kind() == ValueKind::Text) {
        if (a.kind() != ValueKind::Text || b.kind() != ValueKind::Text) {
            // A number compared with a text column: compare as numbers when both are.
            try {
                return a.toDouble() == b.toDouble();
            } catch (...) {
                return false;
            }
        }
        if (isFixedChar(col.sqlType)) return rtrimBlanks(*a.textIf()) == rtrimBlanks(*b.textIf());
        return *a.textIf() == *b.textIf();
    }
    try {
        // Two amounts may differ in a digit their doubles do not hold.
        if (a.kind() == ValueKind::Currency || b.kind() == ValueKind::Currency) return a.toCurrency() == b.toCurrency();
        return a.toDouble() == b.toDouble();
    } catch (...) {
        return a == b;
    }
}

}  // namespace

OdbcRecordset::OdbcRecordset(std::shared_ptr<OdbcDatabase> db, const std::string& sqlOrTable, CursorType cursor,
                             LockType lock, const std::vector<Value>& params)
    : db_(std::move(db)),
      sql_(recordsetStatement(sqlOrTable)),
      forwardOnly_(cursor == CursorType::ForwardOnly),
      readOnly_(lock == LockType::ReadOnly) {
    std::optional<OdbcStatement> opened(db_->run(sql_, params, forwardOnly_).first);
    try {
        columns_ = opened->columns();
        if (columns_.empty()) fail("The statement returns no rows: " + sql_);
    } catch (...) {
        auto session = opened->session();
        opened.reset();
        db_->releaseReader(std::move(session));
        throw;
    }
    if (forwardOnly_) {
        stream_.emplace(std::move(*opened));
        open_ = true;
        fetchForward();
        return;
    }
    OdbcStatement& stmt = *opened;
    std::vector<Value> row;
    try {
        while (stmt.fetch(row)) rows_.push_back(row);
    } catch (const Error& e) {
        db_->noteFailure(e);
        throw;
    }
    stmt.closeCursor();
    pos_ = 0;
    open_ = true;
}

OdbcRecordset::~OdbcRecordset() { endStream(); }

void OdbcRecordset::endStream() noexcept {
    if (!stream_) return;
    auto reader = stream_->session();
    stream_.reset();  // the statement handle goes before its session is reused
    db_->releaseReader(std::move(reader));
}

void OdbcRecordset::requireOpen() const {
    if (!open_) fail("Operation is not allowed when the object is closed");
}

void OdbcRecordset::requireRow() const {
    requireOpen();
    if (edit_ == Edit::Adding) return;
    if (eof() || bof()) fail("Either BOF or EOF is True, or the current record has been deleted");
}

void OdbcRecordset::requireWritable() const {
    requireOpen();
    if (readOnly_) fail("Current Recordset does not support updating (read-only lock): " + sql_);
}

void OdbcRecordset::checkIndex(int index) const {
    requireOpen();
    if (index < 0 || index >= static_cast<int>(columns_.size()))
        fail("Item cannot be found in the collection: field " + std::to_string(index));
}

bool OdbcRecordset::eof() const {
    requireOpen();
    if (forwardOnly_) return streamEof_;
    return pos_ >= static_cast<long>(rows_.size());
}

bool OdbcRecordset::bof() const {
    requireOpen();
    if (forwardOnly_) return streamEof_ && !streamMoved_;
    return rows_.empty() || pos_ < 0;
}

long OdbcRecordset::recordCount() const {
    requireOpen();
    return forwardOnly_ ? -1 : static_cast<long>(rows_.size());
}

const std::vector<Value>& OdbcRecordset::currentRow() const {
    return forwardOnly_ ? streamRow_ : rows_[static_cast<std::size_t>(pos_)];
}

std::vector<Value>& OdbcRecordset::currentRow() {
    return forwardOnly_ ? streamRow_ : rows_[static_cast<std::size_t>(pos_)];
}

void OdbcRecordset::fetchForward() {
    try {
        if (!stream_->fetch(streamRow_)) {
            streamEof_ = true;
            streamRow_.clear();
            // Closing the cursor at the end lets psqlODBC end its implicit transaction.
            endStream();
        }
    } catch (const Error& e) {
        db_->noteFailure(e);
        throw;
    }
}

void OdbcRecordset::flushEdit() {
    // Moving off an edited or new row writes it, as the original's recordsets do.
    if (edit_ != Edit::None) update();
}

void OdbcRecordset::moveFirst() {
    requireOpen();
    flushEdit();
    if (forwardOnly_) {
        if (streamMoved_) fail("Rowset does not support fetching backward (forward-only recordset)");
        return;
    }
    pos_ = 0;
}

void OdbcRecordset::moveNext() {
    requireOpen();
    flushEdit();
    if (eof()) fail("Either BOF or EOF is True, or the current record has been deleted");
    if (forwardOnly_) {
        streamMoved_ = true;
        fetchForward();
        return;
    }
    ++pos_;
}

void OdbcRecordset::moveLast() {
    requireOpen();
    flushEdit();
    if (forwardOnly_) fail("Rowset does not support fetching backward (forward-only recordset)");
    pos_ = rows_.empty() ? 0 : static_cast<long>(rows_.size()) - 1;
}

void OdbcRecordset::find(const std::string& criteria) {
    requireOpen();
    flushEdit();
    const FindCriteria c = parseFindCriteria(criteria);
    std::string column = c.column;
    if (auto dot = column.rfind('.'); dot != std::string::npos) column = column.substr(dot + 1);
    const int idx = fieldIndex(column);
    if (idx < 0) fail("Find: no field named " + c.column);
    const OdbcColumn& col = columns_[static_cast<std::size_t>(idx)];
    while (!eof()) {
        if (sameValue(currentRow()[static_cast<std::size_t>(idx)], c.value, col)) return;
        if (forwardOnly_) {
            streamMoved_ = true;
            fetchForward();
        } else {
            ++pos_;
        }
    }
}

int OdbcRecordset::fieldCount() const {
    requireOpen();
    return static_cast<int>(columns_.size());
}

std::string OdbcRecordset::fieldName(int index) const {
    checkIndex(index);
    return columns_[static_cast<std::size_t>(index)].name;
}

int OdbcRecordset::fieldIndex(const std::string& name) const {
    requireOpen();
    const std::string n = lower(name);
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (lower(columns_[i].name) == n) return static_cast<int>(i);
    return -1;
}

std::string OdbcRecordset::fieldTypeName(int index) const {
    checkIndex(index);
    const OdbcColumn& c = columns_[static_cast<std::size_t>(index)];
    const std::string size = std::to_string(c.size);
    switch (c.sqlType) {
    case SQL_CHAR: case SQL_WCHAR: return "CHAR(" + size + ")";
    case SQL_VARCHAR: case SQL_WVARCHAR: return c.size > 0 && c.size <= 255 ? "VARCHAR(" + size + ")" : "LVARCHAR";
    case SQL_LONGVARCHAR: case SQL_WLONGVARCHAR: return "TEXT";
    case SQL_TINYINT: case SQL_SMALLINT: return "SMALLINT";
    // A SERIAL must read back as one: the link step maps it to an AutoNumber field, and
    // an insert through a link leaves it out so that the server numbers the row.
    case SQL_INTEGER: return c.autoNumbered ? "SERIAL" : "INTEGER";
    case SQL_BIGINT: return c.autoNumbered ? "SERIAL8" : "INT8";
    case SQL_BIT: return "BOOLEAN";
    case SQL_DECIMAL: case SQL_NUMERIC:
        // NOTE: psqlODBC describes a numeric without declared precision as (28,6), its
        // default; Informix's DECIMAL without precision is what the link step wrote.
        if (c.size == 0 || c.size > 32 || (c.size == 28 && c.digits == 6)) return "DECIMAL";
        return "DECIMAL(" + size + "," + std::to_string(c.digits) + ")";
    case SQL_REAL: return "SMALLFLOAT";
    case SQL_FLOAT: case SQL_DOUBLE: return "FLOAT";
    case SQL_TYPE_DATE: case SQL_DATE: return "DATE";
    case SQL_TYPE_TIMESTAMP: case SQL_TIMESTAMP: return "DATETIME YEAR TO SECOND";
    case SQL_TYPE_TIME: case SQL_TIME: return "DATETIME HOUR TO SECOND";
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: return "BYTE";
    default: return {};
    }
}

Value OdbcRecordset::field(int index) const {
    checkIndex(index);
    if (edit_ != Edit::None) return buffer_[static_cast<std::size_t>(index)];
    requireRow();
    return currentRow()[static_cast<std::size_t>(index)];
}

void OdbcRecordset::setField(int index, const Value& v) {
    checkIndex(index);
    requireWritable();
    if (edit_ == Edit::None) {
        requireRow();
        buffer_ = currentRow();
        changed_.assign(columns_.size(), false);
        edit_ = Edit::Editing;
    }
    buffer_[static_cast<std::size_t>(index)] = v;
    changed_[static_cast<std::size_t>(index)] = true;
}

void OdbcRecordset::addNew() {
    requireWritable();
    flushEdit();
    buffer_.assign(columns_.size(), Value::null());
    changed_.assign(columns_.size(), false);
    edit_ = Edit::Adding;
}

void OdbcRecordset::resolveTarget() {
    if (targetResolved_) return;
    table_ = sourceTableOf(sql_);
    if (table_.empty()) fail("Cannot update: the rows do not come from one table: " + sql_);

    std::string owner, name = table_;
    if (auto dot = table_.find('.'); dot != std::string::npos) {
        owner = table_.substr(0, dot);
        name = table_.substr(dot + 1);
    }
    OdbcWString wOwner = toOdbcText(owner), wName = toOdbcText(name);
    SQLWCHAR* ownerPtr = owner.empty() ? nullptr : wOwner.data();
    auto ownerLen = static_cast<SQLSMALLINT>(owner.empty() ? 0 : wOwner.size());

    // Primary key, in key order.
    {
        OdbcStatement st = db_->statement();
        if (!SQL_SUCCEEDED(SQLPrimaryKeysW(st.get(), nullptr, 0, ownerPtr, ownerLen, wName.data(),
                                           static_cast<SQLSMALLINT>(wName.size()))))
            throw odbcError(SQL_HANDLE_STMT, st.get(), "ODBC primary key of " + table_);
        std::map<long, std::string> key;
        while (SQL_SUCCEEDED(SQLFetch(st.get()))) key[catalogNumber(st.get(), 5)] = catalogText(st.get(), 4, st.session()->wideText());
        std::vector<int> cols;
        for (const auto& [seq, col] : key) cols.push_back(fieldIndex(col));
        if (!cols.empty() && std::find(cols.begin(), cols.end(), -1) == cols.end()) primaryKey_ = cols;
    }
    // Unique indexes, each in column order.
    {
        OdbcStatement st = db_->statement();
        if (!SQL_SUCCEEDED(SQLStatisticsW(st.get(), nullptr, 0, ownerPtr, ownerLen, wName.data(),
                                          static_cast<SQLSMALLINT>(wName.size()), SQL_INDEX_UNIQUE, SQL_QUICK)))
            throw odbcError(SQL_HANDLE_STMT, st.get(), "ODBC indexes of " + table_);
        std::vector<std::string> order;
        std::map<std::string, std::map<long, std::string>> idx;
        while (SQL_SUCCEEDED(SQLFetch(st.get()))) {
            if (catalogNumber(st.get(), 7) == SQL_TABLE_STAT) continue;
            if (catalogNumber(st.get(), 4) != SQL_FALSE) continue;  // NON_UNIQUE
            std::string index = catalogText(st.get(), 6, st.session()->wideText());
            if (!idx.count(index)) order.push_back(index);
            idx[index][catalogNumber(st.get(), 8)] = catalogText(st.get(), 9, st.session()->wideText());
        }
        for (const auto& index : order) {
            std::vector<int> cols;
            for (const auto& [seq, col] : idx[index]) cols.push_back(fieldIndex(col));
            if (!cols.empty() && std::find(cols.begin(), cols.end(), -1) == cols.end()) uniqueKeys_.push_back(cols);
        }
    }
    for (const auto& c : columns_)
        if (!isPlainIdentifier(c.name)) fail("Cannot update " + table_ + ": unusual column name \"" + c.name + "\"");
    targetResolved_ = true;
}

std::vector<int> OdbcRecordset::keyFor(const std::vector<Value>& row) const {
    if (!primaryKey_.empty()) return primaryKey_;
    for (const auto& k : uniqueKeys_)
        if (std::none_of(k.begin(), k.end(), [&](int i) { return row[static_cast<std::size_t>(i)].isNullish(); }))
            return k;
    return {};
}

std::string OdbcRecordset::condition(const std::vector<int>& cols, const std::vector<Value>& row,
                                     std::vector<int>& params) const {
    std::string where;
    for (int i : cols) {
        const OdbcColumn& c = columns_[static_cast<std::size_t>(i)];
        if (!comparable(c)) continue;
        if (!where.empty()) where += " AND ";
        if (row[static_cast<std::size_t>(i)].isNullish()) {
            where += c.name + " IS NULL";
        } else {
            where += c.name + " = ?";
            params.push_back(i);
        }
    }
    return where;
}

long OdbcRecordset::runWrite(const std::string& sql, const std::vector<std::pair<int, Value>>& params) {
    OdbcStatement st = db_->statement();
    int n = 1;
    for (const auto& [col, v] : params) st.bind(n++, v, columns_[static_cast<std::size_t>(col)]);
    if (!db_->run(st, sql)) return 0;
    return st.rowCount();
}

void OdbcRecordset::requireSingleMatch(const std::string& where, const std::vector<int>& params,
                                       const std::vector<Value>& row) {
    OdbcStatement st = db_->statement();
    int n = 1;
    for (int col : params) st.bind(n++, row[static_cast<std::size_t>(col)], columns_[static_cast<std::size_t>(col)]);
    db_->run(st, "SELECT COUNT(*) FROM " + table_ + " WHERE " + where);
    std::vector<Value> r;
    if (!st.fetch(r) || r.empty()) fail("Cannot locate the row in " + table_);
    const auto count = r[0].toInteger();
    st.closeCursor();
    if (count == 0) fail("The row to change in " + table_ + " was changed or deleted by another user");
    if (count > 1)
        fail("Cannot change the row in " + table_ + ": it has no key and " + std::to_string(count) +
             " rows hold the same values");
}

void OdbcRecordset::update() {
    requireOpen();
    if (edit_ == Edit::None) return;
    requireWritable();
    resolveTarget();

    if (edit_ == Edit::Adding) {
        std::string names, marks;
        std::vector<std::pair<int, Value>> params;
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (!changed_[i]) continue;
            if (!names.empty()) {
                names += ", ";
                marks += ", ";
            }
            names += columns_[i].name;
            marks += "?";
            params.emplace_back(static_cast<int>(i), buffer_[i]);
        }
        if (params.empty()) fail("Cannot add a row to " + table_ + " without any field value");
        runWrite("INSERT INTO " + table_ + " (" + names + ") VALUES (" + marks + ")", params);
        for (auto& v : buffer_)
            if (v.isEmpty()) v = Value::null();
        edit_ = Edit::None;
        if (forwardOnly_) return;
        rows_.push_back(buffer_);
        pos_ = static_cast<long>(rows_.size()) - 1;
        return;
    }

    std::vector<int> changedCols;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (changed_[i]) changedCols.push_back(static_cast<int>(i));
    if (changedCols.empty()) {
        edit_ = Edit::None;
        return;
    }
    const std::vector<Value>& original = currentRow();
    std::vector<int> whereParams;
    std::vector<int> key = keyFor(original);
    const bool keyed = !key.empty();
    if (!keyed) {
        for (std::size_t i = 0; i < columns_.size(); ++i) key.push_back(static_cast<int>(i));
    } else {
        for (int c : changedCols)
            if (std::find(key.begin(), key.end(), c) == key.end()) key.push_back(c);
    }
    const std::string where = condition(key, original, whereParams);
    if (where.empty()) fail("Cannot locate the row in " + table_ + ": no column to compare");
    if (!keyed) requireSingleMatch(where, whereParams, original);

    std::string set;
    std::vector<std::pair<int, Value>> params;
    for (int c : changedCols) {
        if (!set.empty()) set += ", ";
        set += columns_[static_cast<std::size_t>(c)].name + " = ?";
        params.emplace_back(c, buffer_[static_cast<std::size_t>(c)]);
    }
    for (int c : whereParams) params.emplace_back(c, original[static_cast<std::size_t>(c)]);
    const long n = runWrite("UPDATE " + table_ + " SET " + set + " WHERE " + where, params);
    if (n == 0) fail("The row to change in " + table_ + " was changed or deleted by another user");
    for (auto& v : buffer_)
        if (v.isEmpty()) v = Value::null();
    currentRow() = buffer_;
    edit_ = Edit::None;
}

void OdbcRecordset::deleteCurrent() {
    requireWritable();
    if (edit_ == Edit::Adding) {
        edit_ = Edit::None;
        return;
    }
    edit_ = Edit::None;
    requireRow();
    resolveTarget();
    const std::vector<Value>& original = currentRow();
    std::vector<int> key = keyFor(original);
    const bool keyed = !key.empty();
    if (!keyed)
        for (std::size_t i = 0; i < columns_.size(); ++i) key.push_back(static_cast<int>(i));
    std::vector<int> whereParams;
    const std::string where = condition(key, original, whereParams);
    if (where.empty()) fail("Cannot locate the row in " + table_ + ": no column to compare");
    if (!keyed) requireSingleMatch(where, whereParams, original);
    std::vector<std::pair<int, Value>> params;
    for (int c : whereParams) params.emplace_back(c, original[static_cast<std::size_t>(c)]);
    const long n = runWrite("DELETE FROM " + table_ + " WHERE " + where, params);
    if (n == 0) fail("The row to delete in " + table_ + " was changed or deleted by another user");
    if (forwardOnly_) {
        streamMoved_ = true;
        fetchForward();
        return;
    }
    rows_.erase(rows_.begin() + pos_);
}

void OdbcRecordset::close() {
    if (!open_) return;
    endStream();
    rows_.clear();
    streamRow_.clear();
    edit_ = Edit::None;
    open_ = false;
}

}  // namespace zq
