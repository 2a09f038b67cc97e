#include "dataaccess/sqlite_recordset.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"

#include <sqlite3.h>

#include <cstring>
#include <regex>

namespace zq {

namespace {

bool looksLikeTableName(const std::string& s) {
    std::string t = trimBlanks(s);
    if (t.empty()) return false;
    if (t.front() == '[' && t.back() == ']') return true;
    return t.find_first_of(" \t\r\n(") == std::string::npos;
}

std::string rtrimBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

}  // namespace

SqliteRecordset::SqliteRecordset(sqlite3* db, const std::string& sqlOrTable, SqliteRecordsetOptions opts)
    : db_(db), opts_(std::move(opts)) {
    if (looksLikeTableName(sqlOrTable)) {
        std::string t = trimBlanks(sqlOrTable);
        if (t.front() == '[') t = t.substr(1, t.size() - 2);
        sql_ = "SELECT * FROM " + sqliteName(t);
    } else {
        sql_ = sqlOrTable;
    }
    stmt_.emplace(db_, sql_, opts_.source);
    for (std::size_t i = 0; i < opts_.params.size(); ++i) stmt_->bind(static_cast<int>(i) + 1, opts_.params[i]);
    // The first step comes before the columns are read: a statement prepared against a
    // schema another connection has changed since (a table renamed, a link made under
    // its name) is compiled again by that step, and only then are its columns current.
    bool hasRow = stmt_->step();
    sqlite3_stmt* st = stmt_->get();
    int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i) {
        names_.emplace_back(sqlite3_column_name(st, i));
        const char* decl = sqlite3_column_decltype(st, i);
        declTypes_.emplace_back(decl ? decl : "");
        readings_.push_back(columnReadingFor(decl, opts_.padChar));
    }
    learnBaseTable();
    if (forwardOnly()) {
        fwdEof_ = !hasRow;
    } else {
        loadAll(hasRow);
    }
}

namespace {

// Only a statement over one table can write its rows back: no joins, no comma lists.
bool readsOneTable(const std::string& sql) {
    std::string u = " " + upperAscii(sql) + " ";
    for (char& ch : u)
        if (ch == '\n' || ch == '\r' || ch == '\t') ch = ' ';
    auto from = u.find(" FROM ");
    if (from == std::string::npos) return false;
    size_t end = u.size();
    for (const char* kw : {" WHERE ", " ORDER ", " GROUP ", " LIMIT ", " HAVING ", " UNION "})
        end = std::min(end, u.find(kw, from));
    std::string sources = u.substr(from + 6, end - from - 6);
    return sources.find(',') == std::string::npos && sources.find(" JOIN ") == std::string::npos;
}

}  // namespace

void SqliteRecordset::learnBaseTable() {
    if (!readsOneTable(sql_)) return;
    sqlite3_stmt* st = stmt_->get();
    std::string table;
    for (int i = 0; i < fieldCount(); ++i) {
        const char* t = sqlite3_column_table_name(st, i);
        const char* c = sqlite3_column_origin_name(st, i);
        const char* d = sqlite3_column_database_name(st, i);
        if (!t || !c || !d || std::string(d) != "main" || (!table.empty() && !iequals(table, t))) {
            originNames_.clear();
            return;
        }
        table = t;
        originNames_.emplace_back(c);
    }
    if (table.empty()) return;
    baseTable_ = table;
    Statement sql(db_, "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1", opts_.source);
    sql.bindText(1, table);
    baseIsVirtual_ = sql.step() && upperAscii(sql.columnText(0)).rfind("CREATE VIRTUAL", 0) == 0;

    Statement info(db_, "SELECT name, pk FROM pragma_table_info(?1) WHERE pk > 0 ORDER BY pk", opts_.source);
    info.bindText(1, table);
    std::vector<int> key;
    while (info.step()) {
        std::string col = info.columnText(0);
        int found = -1;
        for (int i = 0; i < fieldCount(); ++i)
            if (iequals(originNames_[i], col)) found = i;
        if (found < 0) return;  // key not in the result: rows are addressed by all values
        key.push_back(found);
    }
    keyFields_ = key;
}

void SqliteRecordset::stepForward() {
    fwdEof_ = !stmt_->step();
}

void SqliteRecordset::loadAll(bool hasRow) {
    rows_.clear();
    for (; hasRow; hasRow = stmt_->step()) {
        std::vector<Value> row;
        row.reserve(names_.size());
        for (int i = 0; i < fieldCount(); ++i) row.push_back(readColumn(stmt_->get(), i, readings_[i]));
        rows_.push_back(std::move(row));
    }
    stmt_.reset();
    pos_ = 0;
}

void SqliteRecordset::requireOpen() const {
    if (!open_) throw Error(kErrProviderFailure, "Operation is not allowed when the object is closed.", opts_.source);
}

void SqliteRecordset::requireRow() const {
    requireOpen();
    if (adding_) return;
    if (eof() || bof())
        throw Error(kErrProviderFailure,
                    "Either BOF or EOF is True, or the current record has been deleted.", opts_.source);
    if (currentDeleted_)
        throw Error(kErrProviderFailure, "The current record has been deleted.", opts_.source);
}

void SqliteRecordset::checkIndex(int index) const {
    if (index < 0 || index >= fieldCount())
        throw Error(kErrProviderFailure, "Item cannot be found in the collection: #" + std::to_string(index),
                    opts_.source);
}

bool SqliteRecordset::eof() const {
    if (forwardOnly()) return fwdEof_;
    return pos_ >= static_cast<long>(rows_.size());
}

bool SqliteRecordset::bof() const {
    if (forwardOnly()) return false;
    return pos_ < 0 || rows_.empty();
}

long SqliteRecordset::recordCount() const {
    requireOpen();
    return forwardOnly() ? -1 : static_cast<long>(rows_.size());
}

void SqliteRecordset::moveFirst() {
    requireOpen();
    if (!pending_.empty() || adding_) update();
    currentDeleted_ = false;
    if (forwardOnly()) {
        // A forward-only cursor starts again by running its statement again.
        stmt_->reset();
        for (std::size_t i = 0; i < opts_.params.size(); ++i) stmt_->bind(static_cast<int>(i) + 1, opts_.params[i]);
        stepForward();
        return;
    }
    pos_ = 0;
}

void SqliteRecordset::moveNext() {
    requireOpen();
    if (!pending_.empty() || adding_) update();
    if (eof())
        throw Error(kErrProviderFailure, "Either BOF or EOF is True, or the current record has been deleted.",
                    opts_.source);
    if (forwardOnly()) {
        stepForward();
        return;
    }
    // after a delete the next row has already moved into the current position
    if (!currentDeleted_) ++pos_;
    currentDeleted_ = false;
}

void SqliteRecordset::moveLast() {
    requireOpen();
    if (forwardOnly())
        throw Error(kErrProviderFailure, "Rowset does not support fetching backward.", opts_.source);
    if (!pending_.empty() || adding_) update();
    currentDeleted_ = false;
    pos_ = static_cast<long>(rows_.size()) - 1;
    if (pos_ < 0) pos_ = 0;
}

bool SqliteRecordset::currentMatches(const std::string& column, const Value& wanted) const {
    Value have = field(fieldIndex(column));
    if (have.isNullish()) return false;
    if (wanted.kind() == ValueKind::Text) {
        // CHAR values compare without their trailing blanks, as the databases compare them.
        std::string h = have.kind() == ValueKind::Text ? *have.textIf() : sqlLiteral(have);
        if (have.kind() == ValueKind::DateTime) h = isoText(have.toDateTime());
        return rtrimBlanks(h) == rtrimBlanks(*wanted.textIf());
    }
    if (have.kind() == ValueKind::Text) {
        try {
            return Value(*have.textIf()).toDouble() == wanted.toDouble();
        } catch (const std::exception&) {
            return false;
        }
    }
    return have.toDouble() == wanted.toDouble();
}

void SqliteRecordset::find(const std::string& criteria) {
    requireOpen();
    static const std::regex re(R"(^\s*\[?([^\]=<>\s]+)\]?\s*=\s*(.*?)\s*$)");
    std::smatch m;
    if (!std::regex_match(criteria, m, re))
        throw Error(kErrProviderFailure, "Find: criteria not supported: " + criteria, opts_.source);
    std::string column = m[1].str();
    std::string rhs = m[2].str();
    if (fieldIndex(column) < 0)
        throw Error(kErrProviderFailure, "Find: unknown column " + column, opts_.source);
    Value wanted;
    if (!rhs.empty() && rhs.front() == '\'') {
        if (rhs.size() < 2 || rhs.back() != '\'')
            throw Error(kErrProviderFailure, "Find: unterminated text in " + criteria, opts_.source);
        wanted = Value(unquote(rhs));
    } else {
        try {
            wanted = Value(Value(rhs).toDouble());
        } catch (const std::exception&) {
            throw Error(kErrProviderFailure, "Find: value not understood in " + criteria, opts_.source);
        }
    }
    if (currentDeleted_ && !forwardOnly()) currentDeleted_ = false;  // the row now current is the next one
    while (!eof()) {
        if (!bof() && currentMatches(column, wanted)) return;
        if (forwardOnly()) stepForward();
        else ++pos_;
    }
}

std::string SqliteRecordset::fieldName(int index) const {
    checkIndex(index);
    return names_[static_cast<size_t>(index)];
}

int SqliteRecordset::fieldIndex(const std::string& name) const {
    for (int i = 0; i < fieldCount(); ++i)
        if (iequals(names_[static_cast<size_t>(i)], name)) return i;
    return -1;
}

std::string SqliteRecordset::fieldTypeName(int index) const {
    checkIndex(index);
    return declTypes_[static_cast<size_t>(index)];
}

Value SqliteRecordset::field(int index) const {
    checkIndex(index);
    if (auto it = pending_.find(index); it != pending_.end()) return it->second;
    if (adding_) return Value::null();
    requireRow();
    if (forwardOnly()) return readColumn(stmt_->get(), index, readings_[static_cast<size_t>(index)]);
    return rows_[static_cast<size_t>(pos_)][static_cast<size_t>(index)];
}

void SqliteRecordset::resultInto(int index, sqlite3_context* ctx) const {
    checkIndex(index);
    if (!forwardOnly() || adding_ || !pending_.empty())
        throw Error(kErrProviderFailure, "resultInto: forward-only reading only", opts_.source);
    requireRow();
    sqlite3_stmt* st = stmt_->get();
    const ColumnReading& how = readings_[static_cast<size_t>(index)];
    if (how.conversion == ColumnConversion::PaddedChar && sqlite3_column_type(st, index) == SQLITE_TEXT) {
        auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, index));
        int bytes = sqlite3_column_bytes(st, index);
        int chars = 0;
        for (int i = 0; i < bytes; ++i)
            if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80) ++chars;
        if (chars < how.width) {
            // one buffer, handed to SQLite with its own free
            int size = bytes + (how.width - chars);
            auto* buf = static_cast<char*>(sqlite3_malloc(size > 0 ? size : 1));
            if (!buf) {
                sqlite3_result_error_nomem(ctx);
                return;
            }
            std::memcpy(buf, p, static_cast<size_t>(bytes));
            std::memset(buf + bytes, ' ', static_cast<size_t>(how.width - chars));
            sqlite3_result_text(ctx, buf, size, sqlite3_free);
            return;
        }
    }
    // dates stay in the ISO text they are stored in: what field() would give as text
    sqlite3_result_value(ctx, sqlite3_column_value(st, index));
}

void SqliteRecordset::requireUpdatable() const {
    requireOpen();
    if (opts_.lock == LockType::ReadOnly || forwardOnly())
        throw Error(kErrProviderFailure, "Current Recordset does not support updating.", opts_.source);
    if (baseTable_.empty())
        throw Error(kErrProviderFailure,
                    "Insufficient base table information for updating or refreshing.", opts_.source);
}

void SqliteRecordset::setField(int index, const Value& v) {
    checkIndex(index);
    requireUpdatable();
    if (!adding_) requireRow();
    if (originNames_[static_cast<size_t>(index)].empty())
        throw Error(kErrProviderFailure, "Field cannot be updated: " + names_[static_cast<size_t>(index)],
                    opts_.source);
    pending_[index] = storable(index, v);
}

Value SqliteRecordset::storable(int index, const Value& v) const {
    if (readings_[static_cast<size_t>(index)].conversion != ColumnConversion::Currency || v.isNullish()) return v;
    // An amount is kept exact whatever arithmetic made it: 0.1 + 0.2 is stored as 0,3.
    try {
        return Value(v.toCurrency());
    } catch (const std::exception&) {
        throw Error(kErrProviderFailure,
                    "Il valore \"" + v.toText() + "\" non è un importo valido per il campo " +
                        names_[static_cast<size_t>(index)] + ".",
                    opts_.source);
    }
}

void SqliteRecordset::addNew() {
    requireUpdatable();
    if (!pending_.empty() || adding_) update();
    adding_ = true;
    pending_.clear();
}

std::string SqliteRecordset::whereForRow(const std::vector<Value>& row, std::vector<Value>& binds) const {
    std::vector<int> fields = keyFields_;
    if (fields.empty())
        for (int i = 0; i < fieldCount(); ++i) fields.push_back(i);
    std::string where;
    for (int i : fields) {
        if (!where.empty()) where += " AND ";
        const Value& v = row[static_cast<size_t>(i)];
        std::string col = sqliteName(originNames_[static_cast<size_t>(i)]);
        if (v.isNullish()) {
            where += col + " IS NULL";
        } else {
            binds.push_back(v);
            where += col + " = ?" + std::to_string(binds.size());
        }
    }
    return where;
}

Statement& SqliteRecordset::changeStatement(const std::string& sql) {
    // Rows whose Null values differ make different texts; a bound keeps the cache small.
    constexpr std::size_t kMostStatements = 32;
    auto found = changeStatements_.find(sql);
    if (found == changeStatements_.end()) {
        if (changeStatements_.size() >= kMostStatements) changeStatements_.clear();
        found = changeStatements_.try_emplace(sql, db_, sql, opts_.source).first;
    }
    found->second.reset();
    return found->second;
}

std::optional<std::vector<Value>> SqliteRecordset::reread(const std::string& where, const std::vector<Value>& binds) {
    std::string cols;
    for (const auto& c : originNames_) cols += (cols.empty() ? "" : ", ") + sqliteName(c);
    Statement& st = changeStatement("SELECT " + cols + " FROM " + sqliteName(baseTable_) + " WHERE " + where);
    for (size_t i = 0; i < binds.size(); ++i) st.bind(static_cast<int>(i + 1), binds[i]);
    std::optional<std::vector<Value>> row;
    if (st.step()) {
        row.emplace();
        for (int i = 0; i < fieldCount(); ++i)
            row->push_back(readColumn(st.get(), i, readings_[static_cast<size_t>(i)]));
        // A second match means the row cannot be told apart: keep what was written.
        if (st.step()) row.reset();
    }
    // A statement left on a row would keep a read transaction open on the file.
    st.reset();
    return row;
}

void SqliteRecordset::insertPending() {
    std::string cols, marks;
    std::vector<Value> binds;
    for (const auto& [i, v] : pending_) {
        if (!cols.empty()) { cols += ", "; marks += ", "; }
        cols += sqliteName(originNames_[static_cast<size_t>(i)]);
        binds.push_back(v);
        marks += "?" + std::to_string(binds.size());
    }
    std::string sql = cols.empty() ? "INSERT INTO " + sqliteName(baseTable_) + " DEFAULT VALUES"
                                   : "INSERT INTO " + sqliteName(baseTable_) + " (" + cols + ") VALUES (" + marks + ")";
    Statement& st = changeStatement(sql);
    for (size_t i = 0; i < binds.size(); ++i) st.bind(static_cast<int>(i + 1), binds[i]);
    st.step();
    st.reset();
    std::vector<Value> row(names_.size(), Value::null());
    for (const auto& [i, v] : pending_) row[static_cast<size_t>(i)] = v;
    if (!baseIsVirtual_) {
        // read the row back: numbering, defaults and padding are the database's
        if (auto stored = reread("rowid = ?1", {Value(static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_)))}))
            row = *stored;
    }
    rows_.push_back(std::move(row));
    pos_ = static_cast<long>(rows_.size()) - 1;
}

void SqliteRecordset::updatePending() {
    auto& row = rows_[static_cast<size_t>(pos_)];
    std::vector<Value> binds;
    std::string set;
    for (const auto& [i, v] : pending_) {
        if (!set.empty()) set += ", ";
        binds.push_back(v);
        set += sqliteName(originNames_[static_cast<size_t>(i)]) + " = ?" + std::to_string(binds.size());
    }
    std::string where = whereForRow(row, binds);
    execSql(db_, "SAVEPOINT zq_recordset_update", opts_.source);
    try {
        Statement& st = changeStatement("UPDATE " + sqliteName(baseTable_) + " SET " + set + " WHERE " + where);
        for (size_t i = 0; i < binds.size(); ++i) st.bind(static_cast<int>(i + 1), binds[i]);
        st.step();
        st.reset();
        int changed = sqlite3_changes(db_);
        if (changed != 1)
            throw Error(kErrProviderFailure,
                        "Row cannot be located for updating: " + std::to_string(changed) + " rows match in " + baseTable_,
                        opts_.source);
        execSql(db_, "RELEASE zq_recordset_update", opts_.source);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK TO zq_recordset_update; RELEASE zq_recordset_update", nullptr, nullptr, nullptr);
        throw;
    }
    std::vector<Value> updated = row;
    for (const auto& [i, v] : pending_) updated[static_cast<size_t>(i)] = v;
    std::vector<Value> again;
    std::string where2 = whereForRow(updated, again);
    if (auto stored = reread(where2, again)) updated = *stored;
    row = std::move(updated);
}

void SqliteRecordset::update() {
    requireUpdatable();
    if (adding_) {
        insertPending();
    } else if (!pending_.empty()) {
        requireRow();
        updatePending();
    }
    adding_ = false;
    pending_.clear();
}

void SqliteRecordset::deleteCurrent() {
    requireUpdatable();
    requireRow();
    std::vector<Value> binds;
    std::string where = whereForRow(rows_[static_cast<size_t>(pos_)], binds);
    execSql(db_, "SAVEPOINT zq_recordset_delete", opts_.source);
    try {
        Statement st(db_, "DELETE FROM " + sqliteName(baseTable_) + " WHERE " + where, opts_.source);
        for (size_t i = 0; i < binds.size(); ++i) st.bind(static_cast<int>(i + 1), binds[i]);
        st.step();
        int changed = sqlite3_changes(db_);
        if (changed != 1)
            throw Error(kErrProviderFailure,
                        "Row cannot be located for deleting: " + std::to_string(changed) + " rows match in " + baseTable_,
                        opts_.source);
        execSql(db_, "RELEASE zq_recordset_delete", opts_.source);
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK TO zq_recordset_delete; RELEASE zq_recordset_delete", nullptr, nullptr, nullptr);
        throw;
    }
    rows_.erase(rows_.begin() + pos_);
    currentDeleted_ = true;
}

void SqliteRecordset::close() {
    stmt_.reset();
    changeStatements_.clear();
    rows_.clear();
    pending_.clear();
    open_ = false;
}

}  // namespace zq
