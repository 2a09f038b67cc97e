#include "dataaccess/link_module.h"

#include "common/error.h"
#include "dataaccess/resolver.h"
#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_recordset.h"
#include "runtime/datetime_parse.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>

namespace zq {

namespace {

constexpr const char* kSource = "zq.link";

// ---------------------------------------------------------------------------------
// Remote connections of one SQLite connection, opened on first use and kept until
// SQLite drops the module (when that connection closes).
//
// The archive connection's transactions reach the remote connections its links write
// through: the first write in an archive transaction begins a remote one, the archive's
// COMMIT commits it (in xSync, before the archive file commits, so that a refused remote
// commit still rolls the archive back) and its ROLLBACK rolls it back. Savepoints follow
// as remote savepoints, sent only when a write comes after them: SQLite opens one around
// every statement of a transaction, and most of them see no remote write.
// ---------------------------------------------------------------------------------
// The database a connect string names, for messages.
std::string linkDatabaseName(const std::string& connect) {
    try {
        return tarvTargetOf(connect).database;
    } catch (const std::exception&) {
        return "TARV";
    }
}

class LinkContext {
public:
    std::shared_ptr<Connection> connectionFor(const std::string& connect) {
        auto it = cache_.find(connect);
        if (it != cache_.end() && it->second->state() != 0) return it->second;
        std::shared_ptr<Connection> c = openConnection(connect, installation());
        cache_[connect] = c;
        return c;
    }
    /// After a failure the connection may be broken (a server gone away): the next
    /// statement opens a fresh one. Inside a remote transaction the failure leaves the
    /// transaction unusable instead; a fresh connection would write outside it.
    void failed(const std::string& connect) {
        if (auto tx = open_.find(connect); tx != open_.end()) tx->second.broken = true;
        else cache_.erase(connect);
    }

    void begin(const std::string& connect) {
        if (open_.count(connect)) return;  // another link on the same database joined first
        connectionFor(connect)->beginTrans();
        open_[connect] = {};
    }
    /// Runs a write inside the remote transaction, if one is open.
    void write(const std::string& connect, const std::string& sql, const std::vector<Value>& params) {
        auto tx = open_.find(connect);
        auto remote = connectionFor(connect);
        if (tx != open_.end()) {
            if (tx->second.broken) throw lostTransaction(connect);
            for (auto& sp : tx->second.savepoints) {
                if (sp.sent) continue;
                remote->execute("SAVEPOINT " + savepointName(sp.level));
                sp.sent = true;
            }
        }
        remote->execute(sql, params);
    }
    void commit(const std::string& connect) {
        auto tx = open_.find(connect);
        if (tx == open_.end()) return;
        const bool broken = tx->second.broken;
        open_.erase(tx);
        auto remote = connectionFor(connect);
        if (broken) {
            quietRollback(*remote);
            throw lostTransaction(connect);
        }
        remote->commitTrans();
    }
    void rollback(const std::string& connect) {
        auto tx = open_.find(connect);
        if (tx == open_.end()) return;
        open_.erase(tx);
        if (auto it = cache_.find(connect); it != cache_.end()) quietRollback(*it->second);
    }
    void savepoint(const std::string& connect, int level) {
        auto tx = open_.find(connect);
        if (tx == open_.end()) return;
        auto& sps = tx->second.savepoints;
        if (sps.empty() || sps.back().level < level) sps.push_back({level, false});
    }
    void release(const std::string& connect, int level) {
        auto tx = open_.find(connect);
        if (tx == open_.end()) return;
        auto& sps = tx->second.savepoints;
        auto first = std::find_if(sps.begin(), sps.end(), [&](const Savepoint& sp) { return sp.level >= level; });
        if (first == sps.end()) return;
        const Savepoint lowest = *first;
        sps.erase(first, sps.end());
        // Releasing the lowest one releases those opened after it.
        if (lowest.sent && !tx->second.broken) run(tx->second, connect, "RELEASE SAVEPOINT " + savepointName(lowest.level));
    }
    /// Back to savepoint `level`; one opened before the link joined the transaction means
    /// the remote state at joining, its first savepoint.
    void rollbackTo(const std::string& connect, int level) {
        auto tx = open_.find(connect);
        if (tx == open_.end()) return;
        auto& sps = tx->second.savepoints;
        auto target = std::find_if(sps.begin(), sps.end(), [&](const Savepoint& sp) { return sp.level >= level; });
        if (target == sps.end()) return;
        sps.erase(target + 1, sps.end());
        if (!target->sent) return;  // nothing was written since
        run(tx->second, connect, "ROLLBACK TO SAVEPOINT " + savepointName(target->level));
        tx->second.broken = false;  // a failed statement no longer stands in the way
    }

private:
    struct Savepoint {
        int level;  // SQLite's savepoint number
        bool sent;  // opened on the remote connection
    };
    struct RemoteTransaction {
        std::vector<Savepoint> savepoints;  // ascending levels
        bool broken = false;                // a remote statement failed since the last good savepoint
    };

    static std::string savepointName(int level) { return "zq_link_" + std::to_string(level); }
    static Error lostTransaction(const std::string& connect) {
        return Error(kErrProviderFailure,
                     "Le modifiche alle tabelle collegate della transazione in corso sono andate perse "
                     "(database " + linkDatabaseName(connect) + "): vanno annullate e rifatte",
                     kSource);
    }
    static void quietRollback(Connection& remote) noexcept {
        try {
            remote.rollbackTrans();
        } catch (...) {
            // a connection gone away took its transaction with it
        }
    }
    void run(RemoteTransaction& tx, const std::string& connect, const std::string& sql) {
        try {
            connectionFor(connect)->execute(sql);
        } catch (...) {
            tx.broken = true;
            throw;
        }
    }

    std::map<std::string, std::shared_ptr<Connection>> cache_;
    std::map<std::string, RemoteTransaction> open_;  // by connect string
};

std::mutex& contextsMutex() {
    static std::mutex m;
    return m;
}
std::map<sqlite3*, LinkContext*>& contexts() {
    static std::map<sqlite3*, LinkContext*> m;
    return m;
}

struct OwnedContext {
    sqlite3* db;
    LinkContext context;
};

void destroyContext(void* p) noexcept {
    auto* owned = static_cast<OwnedContext*>(p);
    {
        std::lock_guard lock(contextsMutex());
        auto it = contexts().find(owned->db);
        if (it != contexts().end() && it->second == &owned->context) contexts().erase(it);
    }
    delete owned;
}

// ---------------------------------------------------------------------------------
// The table and the cursor.
// ---------------------------------------------------------------------------------
struct LinkTable {
    sqlite3_vtab base;                 // SQLite's part; must come first
    LinkContext* context;              // remote connections of this SQLite connection
    std::string name;                  // the link's name in the archive (follows renames)
    LinkSpec linkSpec;                     // connect string, source table, columns, key
    std::vector<int> keyColumns;       // column numbers of the declared key
    std::int64_t nextRowid = 0;        // last synthetic rowid handed out
    std::unordered_map<std::int64_t, std::vector<Value>> keysByRowid;  // key of each row handed out
    bool inWrite = false;              // between xBegin and xCommit/xRollback
};

struct LinkCursor {
    sqlite3_vtab_cursor base;          // SQLite's part; must come first
    std::shared_ptr<Connection> remote;  // keeps the connection of `rows` open while they are read
    RecordsetPtr rows;                 // forward-only remote rows of the current xFilter
    const SqliteRecordset* sqliteRows = nullptr;  // the same rows when the remote is SQLite
    std::vector<int> fieldOf;          // column number -> field of rows (-1: not selected)
    std::int64_t rowid = 0;            // synthetic rowid of the current row
};

LinkTable& tableOf(sqlite3_vtab* v) { return *reinterpret_cast<LinkTable*>(v); }
LinkCursor& cursorOf(sqlite3_vtab_cursor* c) { return *reinterpret_cast<LinkCursor*>(c); }
LinkTable& tableOf(sqlite3_vtab_cursor* c) { return tableOf(c->pVtab); }

std::string messageOf(const std::exception& e) {
    if (auto* z = dynamic_cast<const Error*>(&e)) return z->description();
    return e.what();
}

// The one way errors reach SQLite from a callback.
int setError(sqlite3_vtab* v, const std::exception& e) {
    sqlite3_free(v->zErrMsg);
    v->zErrMsg = sqlite3_mprintf("%s", messageOf(e).c_str());
    return SQLITE_ERROR;
}

Error linkError(const LinkTable& t, const std::string& what) {
    return Error(kErrProviderFailure, "link " + t.name + " (" + t.linkSpec.source + "): " + what, kSource);
}

// What a person reads when a link fails: the operation and the table in Italian, the
// engine's or the driver's own text after it as detail (isLinkFailure() knows them).
enum class LinkOp { Read, Insert, Update, Delete, Begin, Commit, Undo };

Error linkFailure(const LinkTable& t, LinkOp op, const std::exception& cause) {
    std::string head;
    switch (op) {
    case LinkOp::Read: head = "Lettura della tabella collegata "; break;
    case LinkOp::Insert: head = "Inserimento nella tabella collegata "; break;
    case LinkOp::Update: head = "Aggiornamento della tabella collegata "; break;
    case LinkOp::Delete: head = "Eliminazione dalla tabella collegata "; break;
    case LinkOp::Begin: head = "Inizio delle modifiche alla tabella collegata "; break;
    case LinkOp::Commit: head = "Conferma delle modifiche alla tabella collegata "; break;
    case LinkOp::Undo: head = "Annullamento delle modifiche alla tabella collegata "; break;
    }
    const bool feminine = op == LinkOp::Read || op == LinkOp::Delete || op == LinkOp::Commit;
    return Error(kErrProviderFailure,
                 head + t.name + " (tabella " + t.linkSpec.source + " del database " +
                     linkDatabaseName(t.linkSpec.connect) + ") non riuscit" + (feminine ? "a" : "o") + ":\r\n" +
                     messageOf(cause),
                 kSource);
}

Value valueOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL: return Value::null();
    case SQLITE_INTEGER: return Value(static_cast<std::int64_t>(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return Value(sqlite3_value_double(v));
    default: {
        auto p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return Value(std::string(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v))));
    }
    }
}

void setResult(sqlite3_context* ctx, const Value& v) {
    switch (v.kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: sqlite3_result_null(ctx); return;
    case ValueKind::Boolean: sqlite3_result_int(ctx, v.toBool() ? 1 : 0); return;
    case ValueKind::Integer: sqlite3_result_int64(ctx, v.toInteger()); return;
    case ValueKind::Decimal: sqlite3_result_double(ctx, v.toDouble()); return;
    case ValueKind::Text: {
        const std::string& s = *v.textIf();
        sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return;
    }
    case ValueKind::DateTime: {
        std::string s = isoText(v.toDateTime());
        sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return;
    }
    case ValueKind::Currency: resultCurrency(ctx, v.toCurrency()); return;
    }
}

// ---------------------------------------------------------------------------------
// Values to the remote. Every value a link sends goes as a bound parameter typed by
// the remote column: SQLite keeps dates as text, and a date sent as text is read by
// Informix according to DBDATE (day and month swapped, or refused, at an office set
// to DMY4/), so a date column gets a date, a number column a number, a text column
// text.
// ---------------------------------------------------------------------------------
enum class RemoteKind { Text, Number, Currency, Date, Timestamp, Other };

RemoteKind remoteKind(const std::string& declared) {
    const std::string t = upperAscii(declared);
    if (t.find("DATETIME HOUR") != std::string::npos || t.find("DATETIME MINUTE") != std::string::npos)
        return RemoteKind::Other;  // a time of day: the server converts the text
    if (t.find("DATETIME") != std::string::npos || t.find("TIMESTAMP") != std::string::npos)
        return RemoteKind::Timestamp;
    if (t.rfind("DATE", 0) == 0) return RemoteKind::Date;
    for (const char* text : {"CHAR", "TEXT", "CLOB"})
        if (t.find(text) != std::string::npos) return RemoteKind::Text;
    if (holdsCurrency(t)) return RemoteKind::Currency;
    for (const char* number : {"INT", "SERIAL", "DECIMAL", "NUMERIC", "MONEY", "FLOAT", "REAL", "DOUBLE", "BOOL"})
        if (t.find(number) != std::string::npos) return RemoteKind::Number;
    return RemoteKind::Other;
}

std::optional<Value> numberFromText(const std::string& text) {
    const std::string t = trimBlanks(text);
    if (t.empty()) return std::nullopt;
    std::int64_t n = 0;
    if (auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n); ec == std::errc() && end == t.data() + t.size())
        return Value(n);
    double d = 0;
    if (auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), d); ec == std::errc() && end == t.data() + t.size())
        return Value(d);
    return std::nullopt;
}

// A date as the archive reads one: SQLite's own ISO text, or day/month/year as the
// office types it ("04/03/2024", "04.03.2024", "4/3/24"), never month first.
std::optional<Value> dateFromText(const std::string& text, bool keepTime) {
    DateTime d;
    const std::string t = trimBlanks(text);
    if (!parseIsoDate(t, d)) {
        auto typed = parseDate(t);
        if (!typed) return std::nullopt;
        d = *typed;
    }
    if (!keepTime) d.hour = d.minute = d.second = 0;
    return Value(d);
}

[[noreturn]] void refuseValue(const LinkColumn& column, const Value& v, const char* what) {
    throw Error(kErrProviderFailure,
                "Il valore \"" + v.toText() + "\" non è " + what + " per il campo " + column.name + ".", kSource);
}

// The parameter for a non-Null SQLite value going into column `column`. A row written
// (`strict`) refuses a text that is no date for a date column and no amount for an
// amount column, naming the column; a condition passes such a text on as text, and the
// server says what it makes of it.
Value remoteValue(const LinkColumn& column, sqlite3_value* v, bool strict) {
    const Value plain = valueOf(v);
    const bool isText = sqlite3_value_type(v) == SQLITE_TEXT;
    const RemoteKind kind = remoteKind(column.type);
    switch (kind) {
    case RemoteKind::Text:
        return isText ? plain : Value(std::string(reinterpret_cast<const char*>(sqlite3_value_text(v))));
    case RemoteKind::Number:
        if (isText)
            if (auto n = numberFromText(*plain.textIf())) return *n;
        return plain;
    case RemoteKind::Currency:
        // Exact to four decimals whatever made the number: 0.1 + 0.2 goes as 0.3.
        try {
            return Value(plain.toCurrency());
        } catch (const std::exception&) {
            if (strict) refuseValue(column, plain, "un importo valido");
            return plain;
        }
    case RemoteKind::Date:
    case RemoteKind::Timestamp:
        if (!isText) return plain;
        if (auto d = dateFromText(*plain.textIf(), kind == RemoteKind::Timestamp)) return *d;
        if (strict) refuseValue(column, plain, "una data valida");
        return plain;
    case RemoteKind::Other: return plain;
    }
    return plain;
}

std::vector<LinkColumn> readRemoteColumns(LinkContext& ctx, const std::string& connect, const std::string& source) {
    try {
        auto rs = ctx.connectionFor(connect)->openRecordset(
            "SELECT * FROM " + remoteName(source) + " WHERE 1 = 0", CursorType::ForwardOnly, LockType::ReadOnly);
        std::vector<LinkColumn> columns;
        for (int i = 0; i < rs->fieldCount(); ++i) columns.push_back({rs->fieldName(i), rs->fieldTypeName(i)});
        return columns;
    } catch (const std::exception& e) {
        throw Error(kErrProviderFailure,
                    "Lettura della tabella " + source + " del database " + linkDatabaseName(connect) +
                        " non riuscita:\r\n" + messageOf(e),
                    kSource);
    }
}

// ---------------------------------------------------------------------------------
// xCreate / xConnect: argv[0] module, argv[1] schema, argv[2] table, argv[3..] the
// arguments of link_spec.h. Both do the same: a new link and a reconnected one read
// their columns from the arguments, and only a link written without them asks the
// remote table.
// ---------------------------------------------------------------------------------
int linkConnect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** err) {
    try {
        auto table = std::make_unique<LinkTable>();
        std::memset(&table->base, 0, sizeof table->base);
        table->context = &static_cast<OwnedContext*>(aux)->context;
        table->name = argv[2];
        table->linkSpec = LinkSpec::fromArguments(std::vector<std::string>(argv + 3, argv + argc));
        if (table->linkSpec.columns.empty())
            table->linkSpec.columns = readRemoteColumns(*table->context, table->linkSpec.connect, table->linkSpec.source);
        for (const auto& k : table->linkSpec.key) {
            int i = table->linkSpec.columnIndex(k);
            if (i < 0) throw linkError(*table, "key column " + k + " is not a column of the link");
            table->keyColumns.push_back(i);
        }
        if (sqlite3_declare_vtab(db, table->linkSpec.declaration().c_str()) != SQLITE_OK)
            throw linkError(*table, std::string("columns not accepted: ") + sqlite3_errmsg(db));
        sqlite3_vtab_config(db, SQLITE_VTAB_DIRECTONLY);  // see link_module.h
        *out = &table.release()->base;
        return SQLITE_OK;
    } catch (const std::exception& e) {
        *err = sqlite3_mprintf("%s", messageOf(e).c_str());
        return SQLITE_ERROR;
    }
}

int linkDisconnect(sqlite3_vtab* v) {
    delete &tableOf(v);
    return SQLITE_OK;
}

// ---------------------------------------------------------------------------------
// The plan. xBestIndex pushes down every constraint on a column whose operator the
// remote SQL has (=, >, >=, <, <=, <>, IS NULL, IS NOT NULL) with SQLite's own BINARY
// collation, and the ORDER BY when every term is a column. The plan travels in
// idxStr as
//     <colUsed in hex> "|" <column>:<op>,… "|" <column>:<a|d>,…
// and xFilter receives one argv value per constraint that has a right-hand side, in
// the order the constraints are listed. SQLite leaves pushed constraints to us
// (omit): the remote engine compares as its columns compare (CHAR without trailing
// blanks), which is what a person querying a linked table expects.
// Every plan is usable: a link can always fall back to reading all remote rows, so
// xBestIndex never answers SQLITE_CONSTRAINT.
// Estimates: the remote size is unknown, so a full scan is taken as a million rows;
// each equality keeps a fiftieth, each range a quarter; equality on the whole key is
// one row (and unique).
// ---------------------------------------------------------------------------------
const char* remoteOperator(int op) {
    switch (op) {
    case SQLITE_INDEX_CONSTRAINT_EQ: return "=";
    case SQLITE_INDEX_CONSTRAINT_GT: return ">";
    case SQLITE_INDEX_CONSTRAINT_GE: return ">=";
    case SQLITE_INDEX_CONSTRAINT_LT: return "<";
    case SQLITE_INDEX_CONSTRAINT_LE: return "<=";
    case SQLITE_INDEX_CONSTRAINT_NE: return "<>";
    case SQLITE_INDEX_CONSTRAINT_ISNULL: return "IS NULL";
    case SQLITE_INDEX_CONSTRAINT_ISNOTNULL: return "IS NOT NULL";
    default: return nullptr;
    }
}

bool hasRightHandSide(int op) {
    return op != SQLITE_INDEX_CONSTRAINT_ISNULL && op != SQLITE_INDEX_CONSTRAINT_ISNOTNULL;
}

int linkBestIndex(sqlite3_vtab* v, sqlite3_index_info* info) {
    LinkTable& t = tableOf(v);
    try {
        double rows = 1e6;
        std::string where;
        int argvIndex = 0;
        std::vector<bool> keyEq(t.keyColumns.size(), false);
        for (int i = 0; i < info->nConstraint; ++i) {
            const auto& c = info->aConstraint[i];
            const char* op = remoteOperator(c.op);
            if (!c.usable || c.iColumn < 0 || !op) continue;
            const char* coll = sqlite3_vtab_collation(info, i);
            if (coll && !iequals(coll, "BINARY")) continue;
            if (hasRightHandSide(c.op)) info->aConstraintUsage[i].argvIndex = ++argvIndex;
            info->aConstraintUsage[i].omit = 1;
            where += (where.empty() ? "" : ",") + std::to_string(c.iColumn) + ":" + std::to_string(c.op);
            if (c.op == SQLITE_INDEX_CONSTRAINT_EQ) {
                rows /= 50;
                for (size_t k = 0; k < t.keyColumns.size(); ++k)
                    if (t.keyColumns[k] == c.iColumn) keyEq[k] = true;
            } else if (c.op == SQLITE_INDEX_CONSTRAINT_ISNULL) {
                rows /= 10;
            } else if (c.op != SQLITE_INDEX_CONSTRAINT_NE && c.op != SQLITE_INDEX_CONSTRAINT_ISNOTNULL) {
                rows /= 4;
            }
        }
        bool unique = !keyEq.empty();
        for (bool k : keyEq) unique = unique && k;
        if (unique) {
            rows = 1;
            info->idxFlags |= SQLITE_INDEX_SCAN_UNIQUE;
        }
        std::string order;
        bool orderable = info->nOrderBy > 0;
        for (int i = 0; i < info->nOrderBy; ++i)
            if (info->aOrderBy[i].iColumn < 0) orderable = false;
        if (orderable) {
            for (int i = 0; i < info->nOrderBy; ++i)
                order += (order.empty() ? "" : ",") + std::to_string(info->aOrderBy[i].iColumn) + ":" +
                         (info->aOrderBy[i].desc ? "d" : "a");
            info->orderByConsumed = 1;
        }
        char used[32];
        std::snprintf(used, sizeof used, "%llx", static_cast<unsigned long long>(info->colUsed));
        std::string plan = std::string(used) + "|" + where + "|" + order;
        info->idxStr = sqlite3_mprintf("%s", plan.c_str());
        info->needToFreeIdxStr = 1;
        if (rows < 1) rows = 1;
        info->estimatedRows = static_cast<sqlite3_int64>(rows);
        info->estimatedCost = 10 + rows;
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return setError(v, e);
    }
}

struct Plan {
    std::uint64_t colUsed = ~0ULL;
    std::vector<std::pair<int, int>> constraints;  // column, operator
    std::vector<std::pair<int, bool>> order;       // column, descending
};

Plan readPlan(const char* idxStr) {
    Plan p;
    if (!idxStr) return p;
    auto parts = splitTopLevel(idxStr, '|');
    if (parts.size() != 3) throw Error(kErrProviderFailure, std::string("bad link plan ") + idxStr, kSource);
    p.colUsed = std::stoull(parts[0], nullptr, 16);
    for (const auto& item : splitTopLevel(parts[1], ',')) {
        if (item.empty()) continue;
        auto colon = item.find(':');
        p.constraints.emplace_back(std::stoi(item.substr(0, colon)), std::stoi(item.substr(colon + 1)));
    }
    for (const auto& item : splitTopLevel(parts[2], ',')) {
        if (item.empty()) continue;
        auto colon = item.find(':');
        p.order.emplace_back(std::stoi(item.substr(0, colon)), item.substr(colon + 1) == "d");
    }
    return p;
}

bool columnUsed(const Plan& p, size_t column) {
    return (p.colUsed & (1ULL << (column < 63 ? column : 63))) != 0;
}

std::string columnName(const LinkTable& t, int column) {
    return remoteName(t.linkSpec.columns.at(static_cast<size_t>(column)).name);
}

int linkOpen(sqlite3_vtab* v, sqlite3_vtab_cursor** out) {
    auto* cursor = new (std::nothrow) LinkCursor();
    if (!cursor) return SQLITE_NOMEM;
    std::memset(&cursor->base, 0, sizeof cursor->base);
    *out = &cursor->base;
    return SQLITE_OK;
}

int linkClose(sqlite3_vtab_cursor* c) {
    delete &cursorOf(c);
    return SQLITE_OK;
}

int linkFilter(sqlite3_vtab_cursor* c, int, const char* idxStr, int argc, sqlite3_value** argv) {
    LinkCursor& cur = cursorOf(c);
    LinkTable& t = tableOf(c);
    try {
        cur.rows.reset();
        cur.sqliteRows = nullptr;
        if (!t.inWrite) t.keysByRowid.clear();
        Plan plan = readPlan(idxStr);
        std::string select;
        cur.fieldOf.assign(t.linkSpec.columns.size(), -1);
        int fields = 0;
        for (size_t i = 0; i < t.linkSpec.columns.size(); ++i) {
            bool isKey = std::find(t.keyColumns.begin(), t.keyColumns.end(), static_cast<int>(i)) != t.keyColumns.end();
            if (!columnUsed(plan, i) && !isKey) continue;
            select += (select.empty() ? "" : ", ") + columnName(t, static_cast<int>(i));
            cur.fieldOf[i] = fields++;
        }
        std::string sql = "SELECT " + (select.empty() ? std::string("1") : select) + " FROM " + remoteName(t.linkSpec.source);
        std::string where;
        std::vector<Value> params;
        int arg = 0;
        for (const auto& [column, op] : plan.constraints) {
            where += (where.empty() ? " WHERE " : " AND ") + columnName(t, column) + " " + remoteOperator(op);
            if (hasRightHandSide(op)) {
                if (arg >= argc) throw Error(kErrProviderFailure, "link plan and values disagree", kSource);
                sqlite3_value* rhs = argv[arg++];
                if (sqlite3_value_type(rhs) == SQLITE_NULL) {
                    where += " NULL";  // compares as unknown, as in SQLite
                } else {
                    where += " ?";
                    params.push_back(remoteValue(t.linkSpec.columns.at(static_cast<size_t>(column)), rhs, /*strict=*/false));
                }
            }
        }
        std::string order;
        for (const auto& [column, desc] : plan.order)
            order += (order.empty() ? " ORDER BY " : ", ") + columnName(t, column) + (desc ? " DESC" : "");
        sql += where + order;
        try {
            cur.remote = t.context->connectionFor(t.linkSpec.connect);
            cur.rows = cur.remote->openRecordset(sql, CursorType::ForwardOnly, LockType::ReadOnly, params);
        } catch (const std::exception& e) {
            t.context->failed(t.linkSpec.connect);
            throw linkFailure(t, LinkOp::Read, e);
        }
        // NOTE: an embedded remote hands its values over without the Value round trip,
        // which more than halves the cost of a full read; other engines use field().
        cur.sqliteRows = dynamic_cast<const SqliteRecordset*>(cur.rows.get());
        cur.rowid = ++t.nextRowid;
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return setError(c->pVtab, e);
    }
}

int linkNext(sqlite3_vtab_cursor* c) {
    LinkCursor& cur = cursorOf(c);
    LinkTable& t = tableOf(c);
    try {
        cur.rows->moveNext();
        cur.rowid = ++t.nextRowid;
        return SQLITE_OK;
    } catch (const std::exception& e) {
        t.context->failed(t.linkSpec.connect);
        return setError(c->pVtab, linkFailure(t, LinkOp::Read, e));
    }
}

int linkEof(sqlite3_vtab_cursor* c) {
    LinkCursor& cur = cursorOf(c);
    return !cur.rows || cur.rows->eof();
}

int linkColumn(sqlite3_vtab_cursor* c, sqlite3_context* ctx, int column) {
    LinkCursor& cur = cursorOf(c);
    try {
        // An UPDATE does not need the old value of a column it leaves alone.
        if (sqlite3_vtab_nochange(ctx)) return SQLITE_OK;
        int field = cur.fieldOf[static_cast<size_t>(column)];
        if (field < 0) {
            sqlite3_result_null(ctx);
            return SQLITE_OK;
        }
        if (cur.sqliteRows) cur.sqliteRows->resultInto(field, ctx);
        else setResult(ctx, cur.rows->field(field));
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return setError(c->pVtab, linkFailure(tableOf(c), LinkOp::Read, e));
    }
}

// Rowids are numbers handed out per row read; the key of a row is remembered with its
// rowid so that a later xUpdate (which only gets the rowid) can address the row.
int linkRowid(sqlite3_vtab_cursor* c, sqlite3_int64* out) {
    LinkCursor& cur = cursorOf(c);
    LinkTable& t = tableOf(c);
    try {
        *out = cur.rowid;
        if (!t.keyColumns.empty()) {
            std::vector<Value> key;
            for (int k : t.keyColumns) key.push_back(cur.rows->field(cur.fieldOf.at(static_cast<size_t>(k))));
            t.keysByRowid[cur.rowid] = std::move(key);
        }
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return setError(c->pVtab, linkFailure(tableOf(c), LinkOp::Read, e));
    }
}

// The WHERE of the row read as `rowid`: its key values as parameters, appended to `params`.
std::string keyCondition(LinkTable& t, sqlite3_value* rowid, std::vector<Value>& params) {
    if (t.keyColumns.empty())
        throw Error(kErrProviderFailure,
                    "il collegamento non ha una chiave primaria: le sue righe non si possono modificare né eliminare",
                    kSource);
    auto it = t.keysByRowid.find(sqlite3_value_int64(rowid));
    if (it == t.keysByRowid.end()) throw Error(kErrProviderFailure, "riga non letta attraverso il collegamento", kSource);
    std::string where;
    for (size_t k = 0; k < t.keyColumns.size(); ++k) {
        const Value& v = it->second[k];
        where += (where.empty() ? "" : " AND ") + columnName(t, t.keyColumns[k]) + (v.isNullish() ? " IS NULL" : " = ?");
        if (!v.isNullish()) params.push_back(v);
    }
    return where;
}

void runRemote(LinkTable& t, const std::string& sql, const std::vector<Value>& params) {
    try {
        t.context->write(t.linkSpec.connect, sql, params);
    } catch (const std::exception&) {
        t.context->failed(t.linkSpec.connect);
        throw;
    }
}

// argc == 1: DELETE of rowid argv[0]. argv[0] NULL: INSERT of argv[2..]. Otherwise
// UPDATE of the row argv[0] with argv[2..] (unchanged columns arrive as "no change").
int linkUpdate(sqlite3_vtab* v, int argc, sqlite3_value** argv, sqlite3_int64* rowid) {
    LinkTable& t = tableOf(v);
    const LinkOp op = argc == 1                                  ? LinkOp::Delete
                      : sqlite3_value_type(argv[0]) == SQLITE_NULL ? LinkOp::Insert
                                                                   : LinkOp::Update;
    try {
        const std::string table = remoteName(t.linkSpec.source);
        std::vector<Value> params;
        if (argc == 1) {
            const std::string where = keyCondition(t, argv[0], params);
            runRemote(t, "DELETE FROM " + table + " WHERE " + where, params);
            return SQLITE_OK;
        }
        if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
            std::string cols, vals;
            for (int i = 2; i < argc; ++i) {
                // a Null is left out, as Jet leaves out fields never set: the remote
                // default applies, and a SERIAL numbers the row
                if (sqlite3_value_type(argv[i]) == SQLITE_NULL) continue;
                cols += (cols.empty() ? "" : ", ") + columnName(t, i - 2);
                vals += (vals.empty() ? "?" : ", ?");
                params.push_back(remoteValue(t.linkSpec.columns.at(static_cast<size_t>(i - 2)), argv[i], /*strict=*/true));
            }
            if (cols.empty()) {
                // a row of Nulls: DEFAULT VALUES is not Informix SQL, so name one column
                // that does not number itself
                size_t plain = 0;
                while (plain + 1 < t.linkSpec.columns.size() &&
                       upperAscii(t.linkSpec.columns[plain].type).find("SERIAL") != std::string::npos)
                    ++plain;
                cols = columnName(t, static_cast<int>(plain));
                vals = "NULL";
            }
            runRemote(t, "INSERT INTO " + table + " (" + cols + ") VALUES (" + vals + ")", params);
            *rowid = ++t.nextRowid;
            return SQLITE_OK;
        }
        if (sqlite3_value_int64(argv[0]) != sqlite3_value_int64(argv[1]))
            throw Error(kErrProviderFailure, "il numero di riga di un collegamento non si può cambiare", kSource);
        std::string set;
        for (int i = 2; i < argc; ++i) {
            if (sqlite3_value_nochange(argv[i])) continue;
            set += (set.empty() ? "" : ", ") + columnName(t, i - 2);
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
                set += " = NULL";
            } else {
                set += " = ?";
                params.push_back(remoteValue(t.linkSpec.columns.at(static_cast<size_t>(i - 2)), argv[i], /*strict=*/true));
            }
        }
        const std::string where = keyCondition(t, argv[0], params);
        if (!set.empty()) runRemote(t, "UPDATE " + table + " SET " + set + " WHERE " + where, params);
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return setError(v, linkFailure(t, op, e));
    }
}

// The transaction callbacks: see LinkContext. SQLite calls xBegin when a statement of
// a transaction first writes to the link, xSync on every link of the transaction before
// any xCommit, and xSavepoint/xRelease/xRollbackTo with its own savepoint numbers.
// One transaction step on the link's connection; a failure reaches SQLite told as `op`
// (as the engine said it when there is none).
template <class Step>
int transactionStep(sqlite3_vtab* v, std::optional<LinkOp> op, Step step) {
    LinkTable& t = tableOf(v);
    try {
        step(t);
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return op ? setError(v, linkFailure(t, *op, e)) : setError(v, e);
    }
}

int linkBegin(sqlite3_vtab* v) {
    return transactionStep(v, LinkOp::Begin, [](LinkTable& t) {
        try {
            t.context->begin(t.linkSpec.connect);
        } catch (...) {
            t.context->failed(t.linkSpec.connect);
            throw;
        }
        t.inWrite = true;
    });
}

int linkSync(sqlite3_vtab* v) {
    return transactionStep(v, LinkOp::Commit, [](LinkTable& t) { t.context->commit(t.linkSpec.connect); });
}

void endWrite(LinkTable& t) noexcept {
    t.inWrite = false;
    t.keysByRowid.clear();
}

int linkCommit(sqlite3_vtab* v) {
    endWrite(tableOf(v));
    return SQLITE_OK;
}

int linkRollback(sqlite3_vtab* v) {
    LinkTable& t = tableOf(v);
    t.context->rollback(t.linkSpec.connect);
    endWrite(t);
    return SQLITE_OK;
}

int linkSavepoint(sqlite3_vtab* v, int level) {
    return transactionStep(v, std::nullopt, [level](LinkTable& t) { t.context->savepoint(t.linkSpec.connect, level); });
}

int linkRelease(sqlite3_vtab* v, int level) {
    return transactionStep(v, LinkOp::Commit, [level](LinkTable& t) { t.context->release(t.linkSpec.connect, level); });
}

int linkRollbackTo(sqlite3_vtab* v, int level) {
    return transactionStep(v, LinkOp::Undo,
                           [level](LinkTable& t) { t.context->rollbackTo(t.linkSpec.connect, level); });
}

int linkRename(sqlite3_vtab* v, const char* newName) {
    try {
        tableOf(v).name = newName;  // the remote table keeps its name
        return SQLITE_OK;
    } catch (const std::exception& e) {
        return setError(v, e);
    }
}

sqlite3_module makeModule() {
    sqlite3_module m{};
    m.iVersion = 2;
    m.xCreate = linkConnect;
    m.xConnect = linkConnect;
    m.xBestIndex = linkBestIndex;
    m.xDisconnect = linkDisconnect;
    m.xDestroy = linkDisconnect;  // dropping a link leaves the remote table alone
    m.xOpen = linkOpen;
    m.xClose = linkClose;
    m.xFilter = linkFilter;
    m.xNext = linkNext;
    m.xEof = linkEof;
    m.xColumn = linkColumn;
    m.xRowid = linkRowid;
    m.xUpdate = linkUpdate;
    m.xBegin = linkBegin;
    m.xSync = linkSync;
    m.xCommit = linkCommit;
    m.xRollback = linkRollback;
    m.xRename = linkRename;
    m.xSavepoint = linkSavepoint;
    m.xRelease = linkRelease;
    m.xRollbackTo = linkRollbackTo;
    return m;
}

const sqlite3_module kModule = makeModule();

}  // namespace

bool isLinkFailure(const std::string& text) {
    const std::string first = text.substr(0, text.find('\r'));
    for (const char* head : {"Lettura della tabella ", "Inserimento nella tabella collegata ",
                             "Aggiornamento della tabella collegata ", "Eliminazione dalla tabella collegata ",
                             "Inizio delle modifiche alla tabella collegata ",
                             "Conferma delle modifiche alla tabella collegata ",
                             "Annullamento delle modifiche alla tabella collegata "})
        if (first.rfind(head, 0) == 0) return true;
    return false;
}

void registerLinkModule(sqlite3* db) {
    auto* owned = new OwnedContext{db, {}};
    {
        std::lock_guard lock(contextsMutex());
        contexts()[db] = &owned->context;
    }
    // SQLite owns `owned` from here: destroyContext runs even when registering fails.
    if (sqlite3_create_module_v2(db, kLinkModuleName, &kModule, owned, destroyContext) != SQLITE_OK)
        throw Error(kErrProviderFailure, std::string("link module not registered: ") + sqlite3_errmsg(db), kSource);
}

std::vector<LinkColumn> describeRemoteTable(sqlite3* db, const std::string& connect, const std::string& source) {
    LinkContext* ctx = nullptr;
    {
        std::lock_guard lock(contextsMutex());
        if (auto it = contexts().find(db); it != contexts().end()) ctx = it->second;
    }
    if (!ctx) throw Error(kErrProviderFailure, "the link module is not registered on this connection", kSource);
    return readRemoteColumns(*ctx, connect, source);
}

}  // namespace zq
