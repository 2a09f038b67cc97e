#include "dataaccess/sqlite_handle.h"

#include "common/error.h"
#include "dataaccess/fault_hook.h"
#include "dataaccess/link_module.h"
#include "dataaccess/sql_text.h"

#include <sqlite3.h>

#include <mutex>
#include <regex>
#include <stdexcept>

namespace zq {

void SqliteCloser::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
void StatementFinalizer::operator()(sqlite3_stmt* st) const noexcept { sqlite3_finalize(st); }

namespace {

// The name the operator knows the database by: its file.
std::string fileOf(sqlite3* db, const std::string& what) {
    const char* name = db ? sqlite3_db_filename(db, "main") : nullptr;
    if (name && *name) return name;
    return what.empty() ? std::string("in memoria") : what;  // a file that would not open
}

// What failed, in Italian and naming the file or the table, ahead of the engine's own
// text, which follows as detail with the statement or path it concerned.
std::string describe(sqlite3* db, long code, const std::string& engineText, const std::string& what) {
    const std::string file = fileOf(db, what);
    std::string text;
    static const std::string kNoTable = "no such table: ";
    switch (code & 0xFF) {
    case SQLITE_CORRUPT: text = "Il database " + file + " è danneggiato"; break;
    case SQLITE_NOTADB: text = "Il file " + file + " non è un database"; break;
    case SQLITE_READONLY: text = "Il database " + file + " è di sola lettura: non si può modificare"; break;
    case SQLITE_CANTOPEN: text = "Impossibile aprire il database " + file; break;
    case SQLITE_FULL: text = "Spazio esaurito sul disco del database " + file; break;
    case SQLITE_IOERR: text = "Errore di lettura o scrittura sul database " + file; break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: text = "Il database " + file + " è occupato da un altro programma"; break;
    case SQLITE_PERM:
    case SQLITE_AUTH: text = "Permesso negato sul database " + file; break;
    case SQLITE_NOMEM: text = "Memoria esaurita lavorando sul database " + file; break;
    case SQLITE_CONSTRAINT: text = "Dati rifiutati da un vincolo del database " + file; break;
    default:
        // A link's failure says what failed itself; the statement follows as detail.
        if (isLinkFailure(engineText)) return engineText + (what.empty() ? "" : "\r\n(" + what + ")");
        if (engineText.rfind(kNoTable, 0) == 0)
            text = "La tabella " + engineText.substr(kNoTable.size()) + " non esiste nel database " + file;
        else
            text = "Errore del database " + file;
    }
    return text + " (" + engineText + (what.empty() || what == file ? "" : ": " + what) + ")";
}

}  // namespace

void throwSqlite(sqlite3* db, const std::string& what, const std::string& source) {
    std::string msg = db ? sqlite3_errmsg(db) : "out of memory";
    long code = db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM;
    throw Error(kErrProviderFailure, describe(db, code, msg, what), source, code);
}

namespace {

// SQLite counts its memory under a process-wide mutex unless told not to; nothing here
// reads those counts, and every value a link hands over is an allocation. Only possible
// before SQLite starts: in a host that started it already (the sqlite3 shell loading
// the link extension) the call is refused and changes nothing.
void configureSqliteOnce() {
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

}  // namespace

SqliteDbPtr openSqliteFile(const std::string& path, bool create, const std::string& source) {
    configureSqliteOnce();
    sqlite3* raw = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    SqliteDbPtr db(raw);
    if (rc != SQLITE_OK) throwSqlite(db.get(), path, source);
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), 10000);
    // WAL lets a reader (a link's open cursor, another form's recordset) and a writer of
    // the same file work side by side, and a crash leaves the last commit intact.
    execSql(db.get(), "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", source);
    return db;
}

void execSql(sqlite3* db, const std::string& sql, const std::string& source) {
    FaultHook::point("sql");
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : sqlite3_errmsg(db);
        sqlite3_free(err);
        const long code = sqlite3_extended_errcode(db);
        throw Error(kErrProviderFailure, describe(db, code, msg, {}), source, code);
    }
}

Statement::Statement(sqlite3* db, std::string_view sql, const std::string& source)
    : db_(db), source_(source) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail) != SQLITE_OK)
        throwSqlite(db, std::string(sql), source);
    st_.reset(raw);
    if (!raw) throw Error(kErrProviderFailure, "empty statement", source);
    // One text is one statement: a second statement after ";" is refused, never run or
    // dropped; only blanks and comments may follow.
    const char* end = sql.data() + sql.size();
    while (tail && tail < end) {
        sqlite3_stmt* next = nullptr;
        const char* after = nullptr;
        int rc = sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &next, &after);
        sqlite3_finalize(next);
        if (rc != SQLITE_OK || next)
            throw Error(kErrProviderFailure, "only one statement at a time: " + std::string(sql), source);
        if (after == tail) break;
        tail = after;
    }
}

bool Statement::step() {
    // A new run of a statement that changes something is an interruption point.
    if (!sqlite3_stmt_busy(st_.get()) && !sqlite3_stmt_readonly(st_.get())) FaultHook::point("sql");
    int rc = sqlite3_step(st_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwSqlite(db_, sqlite3_sql(st_.get()), source_);
}

void Statement::reset() {
    sqlite3_reset(st_.get());
    sqlite3_clear_bindings(st_.get());
}

void Statement::bind(int index, const Value& v) {
    sqlite3_stmt* st = st_.get();
    switch (v.kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: sqlite3_bind_null(st, index); break;
    case ValueKind::Boolean: sqlite3_bind_int(st, index, v.toBool() ? 1 : 0); break;
    case ValueKind::Integer: sqlite3_bind_int64(st, index, v.toInteger()); break;
    case ValueKind::Decimal: sqlite3_bind_double(st, index, v.toDouble()); break;
    case ValueKind::Text: bindText(index, *v.textIf()); break;
    case ValueKind::DateTime: bindText(index, isoText(v.toDateTime())); break;
    case ValueKind::Currency: bindCurrency(st, index, v.toCurrency()); break;
    }
}

void Statement::bindText(int index, std::string_view text) {
    sqlite3_bind_text(st_.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void Statement::bindInt(int index, long long v) { sqlite3_bind_int64(st_.get(), index, v); }

Value Statement::column(int index) const { return readColumn(st_.get(), index, {}); }

std::string Statement::columnText(int index) const {
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(st_.get(), index));
    return p ? std::string(p, sqlite3_column_bytes(st_.get(), index)) : std::string();
}

long long Statement::columnInt(int index) const { return sqlite3_column_int64(st_.get(), index); }
int Statement::columnCount() const { return sqlite3_column_count(st_.get()); }

ColumnReading columnReadingFor(const char* declType, bool padChar) {
    if (!declType) return {};
    std::string t = upperAscii(trimBlanks(declType));
    static const std::regex charRe(R"(^(N?CHAR|CHARACTER)\s*\(\s*(\d+)\s*\)$)");
    std::smatch m;
    if (padChar && std::regex_match(t, m, charRe))
        return {ColumnConversion::PaddedChar, std::stoi(m[2].str())};
    auto first = t.substr(0, t.find_first_of(" ("));
    if (first == "DATE" || first == "DATETIME" || first == "TIME" || first == "TIMESTAMP" ||
        first == "SMALLDATETIME")
        return {ColumnConversion::Date, 0};
    if (first == "BIT" || first == "BOOLEAN" || first == "YESNO" || first == "LOGICAL")
        return {ColumnConversion::Boolean, 0};
    if (holdsCurrency(t)) return {ColumnConversion::Currency, 0};
    return {};
}

bool holdsCurrency(std::string_view declType) {
    static const std::regex re(R"(^\s*(CURRENCY|MONEY)\b.*|^\s*(DECIMAL|NUMERIC|DEC)\s*\(\s*\d+\s*,\s*([1-4])\s*\).*)",
                               std::regex::icase);
    return std::regex_match(declType.begin(), declType.end(), re);
}

namespace {

// The storage of bindCurrency: whole amounts as integers, amounts a double holds
// exactly as doubles, the rest as text.
template <class Int, class Real, class Text>
void storeCurrency(Currency c, Int asInt, Real asReal, Text asText) {
    if (c.units() % Currency::kScale == 0) return asInt(c.units() / Currency::kScale);
    const double d = c.toDouble();
    if (Currency::fromDouble(d) == c) return asReal(d);
    asText(c.text());
}

}  // namespace

void bindCurrency(sqlite3_stmt* st, int index, Currency c) {
    storeCurrency(
        c, [&](std::int64_t n) { sqlite3_bind_int64(st, index, n); },
        [&](double d) { sqlite3_bind_double(st, index, d); },
        [&](const std::string& t) { sqlite3_bind_text(st, index, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT); });
}

void resultCurrency(sqlite3_context* ctx, Currency c) {
    storeCurrency(
        c, [&](std::int64_t n) { sqlite3_result_int64(ctx, n); }, [&](double d) { sqlite3_result_double(ctx, d); },
        [&](const std::string& t) { sqlite3_result_text(ctx, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT); });
}

std::string padToWidth(std::string text, int width) {
    int chars = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++chars;
    if (chars < width) text.append(static_cast<size_t>(width - chars), ' ');
    return text;
}

namespace {

// An amount out of the Currency range (a file edited by another tool) reads as it is.
template <class Raw, class Make>
Value currencyOr(Raw raw, Make make) {
    try {
        return Value(make());
    } catch (const std::overflow_error&) {
        return Value(raw);
    }
}

}  // namespace

Value readColumn(sqlite3_stmt* st, int index, const ColumnReading& how) {
    switch (sqlite3_column_type(st, index)) {
    case SQLITE_NULL: return Value::null();
    case SQLITE_INTEGER: {
        auto i = static_cast<std::int64_t>(sqlite3_column_int64(st, index));
        if (how.conversion == ColumnConversion::Boolean) return Value(i != 0);
        if (how.conversion == ColumnConversion::Currency) return currencyOr(i, [i] { return Currency::fromWhole(i); });
        return Value(i);
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(st, index);
        if (how.conversion == ColumnConversion::Currency) return currencyOr(d, [d] { return Currency::fromDouble(d); });
        return Value(d);
    }
    default: break;
    }
    auto p = reinterpret_cast<const char*>(sqlite3_column_text(st, index));
    std::string text(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st, index)));
    if (how.conversion == ColumnConversion::Date) {
        DateTime d;
        if (parseIsoDate(text, d) || parseDmyDate(text, d)) return Value(d);
    } else if (how.conversion == ColumnConversion::PaddedChar) {
        return Value(padToWidth(std::move(text), how.width));
    } else if (how.conversion == ColumnConversion::Currency) {
        try {
            if (auto c = Currency::parse(text)) return Value(*c);
        } catch (const std::overflow_error&) {
        }
    }
    return Value(std::move(text));
}

}  // namespace zq
