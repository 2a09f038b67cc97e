#include "dataaccess/odbc/odbc_statement.h"

#include "dataaccess/fault_hook.h"
#include "dataaccess/odbc/odbc_diagnostics.h"
#include "dataaccess/odbc/odbc_text.h"

#include <sqlext.h>
#include <sqlucode.h>

#include <cctype>
#include <charconv>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace zq {

namespace {

// Reads change nothing: only the other statements are interruption points.
bool startsWithSelect(const std::string& sql) {
    const auto first = sql.find_first_not_of(" \t\r\n(");
    return first != std::string::npos && sql.size() - first >= 6 &&
           std::equal(sql.begin() + static_cast<long>(first), sql.begin() + static_cast<long>(first) + 6, "SELECT",
                      [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
}

bool isTextType(SQLSMALLINT t) {
    switch (t) {
    case SQL_CHAR: case SQL_VARCHAR: case SQL_LONGVARCHAR:
    case SQL_WCHAR: case SQL_WVARCHAR: case SQL_WLONGVARCHAR:
        return true;
    default:
        return false;
    }
}

double parseNumber(const std::string& s) {
    double d = 0;
    const char* b = s.data();
    const char* e = b + s.size();
    while (b < e && *b == ' ') ++b;
    if (b < e && *b == '+') ++b;
    auto [p, ec] = std::from_chars(b, e, d);
    if (ec != std::errc())
        throw Error(kErrProviderFailure, "ODBC: not a number: \"" + s + "\"", "ODBC fetch");
    return d;
}

// Scale one to four: what the archive's Currency holds exactly. A scale of 0 is a whole
// number, and more than four decimals are not an amount.
bool holdsAmount(const OdbcColumn& col) {
    return (col.sqlType == SQL_DECIMAL || col.sqlType == SQL_NUMERIC) && col.digits >= 1 && col.digits <= 4;
}

template <class T>
void put(std::vector<char>& buf, const T& v) {
    buf.resize(sizeof(T));
    std::memcpy(buf.data(), &v, sizeof(T));
}

}  // namespace

OdbcStatement::OdbcStatement(std::shared_ptr<OdbcSession> session) : session_(std::move(session)) {
    SQLHANDLE h = SQL_NULL_HANDLE;
    checkOdbc(SQLAllocHandle(SQL_HANDLE_STMT, session_->get(), &h), SQL_HANDLE_DBC, session_->get(),
              "ODBC statement");
    stmt_ = StmtHandle(h);
}

void OdbcStatement::fail(const std::string& what) {
    throw odbcError(SQL_HANDLE_STMT, stmt_.get(), what);
}

bool OdbcStatement::execute(const std::string& sql) {
    if (!startsWithSelect(sql)) FaultHook::point("sql");
    closeCursor();
    described_ = false;
    columns_.clear();
    SQLRETURN rc;
    if (session_->wideText()) {
        OdbcWString text = toOdbcText(sql);
        rc = SQLExecDirectW(stmt_.get(), text.data(), static_cast<SQLINTEGER>(text.size()));
    } else {
        std::string text = sql;
        rc = SQLExecDirect(stmt_.get(), reinterpret_cast<SQLCHAR*>(text.data()), static_cast<SQLINTEGER>(text.size()));
    }
    if (rc == SQL_NO_DATA) return false;
    if (!SQL_SUCCEEDED(rc)) fail("ODBC execute");
    return true;
}

long OdbcStatement::rowCount() {
    SQLLEN n = -1;
    if (!SQL_SUCCEEDED(SQLRowCount(stmt_.get(), &n))) return -1;
    return static_cast<long>(n);
}

const std::vector<OdbcColumn>& OdbcStatement::columns() {
    if (described_) return columns_;
    SQLSMALLINT n = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt_.get(), &n))) fail("ODBC describe");
    columns_.clear();
    for (SQLUSMALLINT i = 1; i <= n; ++i) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLen = 0, type = 0, digits = 0, nullable = 0;
        SQLULEN size = 0;
        if (!SQL_SUCCEEDED(SQLDescribeColW(stmt_.get(), i, name, static_cast<SQLSMALLINT>(std::size(name)),
                                           &nameLen, &type, &size, &digits, &nullable)))
            fail("ODBC describe");
        OdbcColumn c;
        c.name = fromOdbcText(name, std::min<std::size_t>(nameLen, std::size(name) - 1));
        c.sqlType = type;
        c.size = size;
        c.digits = digits;
        c.nullable = nullable != SQL_NO_NULLS;
        SQLLEN autoUnique = SQL_FALSE;
        if (SQL_SUCCEEDED(SQLColAttributeW(stmt_.get(), i, SQL_DESC_AUTO_UNIQUE_VALUE, nullptr, 0, nullptr,
                                           &autoUnique)))
            c.autoNumbered = autoUnique == SQL_TRUE;
        columns_.push_back(std::move(c));
    }
    described_ = true;
    return columns_;
}

bool OdbcStatement::fetch(std::vector<Value>& row) {
    const auto& cols = columns();
    SQLRETURN rc = SQLFetch(stmt_.get());
    if (rc == SQL_NO_DATA) return false;
    if (!SQL_SUCCEEDED(rc)) fail("ODBC fetch");
    row.resize(cols.size());
    // In column order: drivers without SQL_GD_ANY_ORDER (Informix) require it.
    for (std::size_t i = 0; i < cols.size(); ++i)
        row[i] = readColumn(static_cast<SQLUSMALLINT>(i + 1), cols[i]);
    return true;
}

Value OdbcStatement::readColumn(SQLUSMALLINT index, const OdbcColumn& col) {
    SQLHSTMT h = stmt_.get();
    SQLLEN ind = 0;
    switch (col.sqlType) {
    case SQL_TINYINT: case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT: {
        SQLBIGINT v = 0;
        if (!SQL_SUCCEEDED(SQLGetData(h, index, SQL_C_SBIGINT, &v, 0, &ind))) fail("ODBC fetch " + col.name);
        if (ind == SQL_NULL_DATA) return Value::null();
        return Value(static_cast<std::int64_t>(v));
    }
    case SQL_BIT: {
        unsigned char v = 0;
        if (!SQL_SUCCEEDED(SQLGetData(h, index, SQL_C_BIT, &v, 0, &ind))) fail("ODBC fetch " + col.name);
        if (ind == SQL_NULL_DATA) return Value::null();
        return Value(v != 0);
    }
    case SQL_DECIMAL: case SQL_NUMERIC: case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE: {
        // NOTE: psqlODBC converts numbers to and from SQL_C_DOUBLE with the C library's
        // locale-dependent routines; under an Italian locale (Qt sets the process locale)
        // "12.50" would read as 12. The text form is locale-free.
        char buf[128];
        if (!SQL_SUCCEEDED(SQLGetData(h, index, SQL_C_CHAR, buf, sizeof buf, &ind))) fail("ODBC fetch " + col.name);
        if (ind == SQL_NULL_DATA) return Value::null();
        // An amount column (MONEY, DECIMAL(16,2)) reads exact: its text holds every digit
        // the server keeps, a double one too few for 99999999999999.99.
        if (holdsAmount(col)) {
            try {
                if (auto c = Currency::parsePlain(buf)) return Value(*c);
            } catch (const std::overflow_error&) {
            }
        }
        return Value(parseNumber(std::string(buf)));
    }
    case SQL_TYPE_DATE: case SQL_TYPE_TIMESTAMP: case SQL_DATE: case SQL_TIMESTAMP: {
        SQL_TIMESTAMP_STRUCT ts{};
        if (!SQL_SUCCEEDED(SQLGetData(h, index, SQL_C_TYPE_TIMESTAMP, &ts, sizeof ts, &ind)))
            fail("ODBC fetch " + col.name);
        if (ind == SQL_NULL_DATA) return Value::null();
        return Value(DateTime{ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second});
    }
    case SQL_TYPE_TIME: case SQL_TIME: {
        SQL_TIME_STRUCT t{};
        if (!SQL_SUCCEEDED(SQLGetData(h, index, SQL_C_TYPE_TIME, &t, sizeof t, &ind))) fail("ODBC fetch " + col.name);
        if (ind == SQL_NULL_DATA) return Value::null();
        DateTime d;  // the original's time values sit on day 0, 30/12/1899
        d.hour = t.hour;
        d.minute = t.minute;
        d.second = t.second;
        return Value(d);
    }
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: {
        std::string bytes;
        char buf[4096];
        for (;;) {
            SQLRETURN rc = SQLGetData(h, index, SQL_C_BINARY, buf, sizeof buf, &ind);
            if (rc == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(rc)) fail("ODBC fetch " + col.name);
            if (ind == SQL_NULL_DATA) return Value::null();
            std::size_t got = (ind == SQL_NO_TOTAL || ind > static_cast<SQLLEN>(sizeof buf))
                                  ? sizeof buf : static_cast<std::size_t>(ind);
            bytes.append(buf, got);
            if (rc == SQL_SUCCESS) break;
        }
        return Value(std::move(bytes));
    }
    default: {
        // Text (and anything else the driver can render as text), in chunks.
        if (!session_->wideText()) {
            std::string bytes;
            char buf[8192];
            for (;;) {
                SQLRETURN rc = SQLGetData(h, index, SQL_C_CHAR, buf, sizeof buf, &ind);
                if (rc == SQL_NO_DATA) break;
                if (!SQL_SUCCEEDED(rc)) fail("ODBC fetch " + col.name);
                if (ind == SQL_NULL_DATA) return Value::null();
                const std::size_t cap = sizeof buf - 1;
                std::size_t got = (ind == SQL_NO_TOTAL || ind > static_cast<SQLLEN>(cap)) ? cap
                                                                                          : static_cast<std::size_t>(ind);
                bytes.append(buf, got);
                if (rc == SQL_SUCCESS) break;
            }
            return Value(std::move(bytes));
        }
        OdbcWString text;
        SQLWCHAR buf[2048];
        for (;;) {
            SQLRETURN rc = SQLGetData(h, index, SQL_C_WCHAR, buf, sizeof buf, &ind);
            if (rc == SQL_NO_DATA) break;
            if (!SQL_SUCCEEDED(rc)) fail("ODBC fetch " + col.name);
            if (ind == SQL_NULL_DATA) return Value::null();
            const std::size_t cap = std::size(buf) - 1;
            std::size_t got = (ind == SQL_NO_TOTAL || ind / static_cast<SQLLEN>(sizeof(SQLWCHAR)) > static_cast<SQLLEN>(cap))
                                  ? cap : static_cast<std::size_t>(ind) / sizeof(SQLWCHAR);
            text.append(buf, got);
            if (rc == SQL_SUCCESS) break;
        }
        return Value(fromOdbcText(text));
    }
    }
}

void OdbcStatement::bind(int index, const Value& v, const OdbcColumn& col) {
    Param& p = params_.emplace_back();
    SQLSMALLINT cType = SQL_C_WCHAR;
    SQLSMALLINT sqlType = col.sqlType;
    SQLULEN size = col.size;
    SQLSMALLINT digits = col.digits;
    const bool wide = session_->wideText();
    if (v.isNullish()) {
        p.indicator = SQL_NULL_DATA;
        p.data.resize(sizeof(SQLWCHAR));
        if (!wide) cType = SQL_C_CHAR;
    } else {
        switch (v.kind()) {
        case ValueKind::Boolean: {
            // The original's True is -1; a BIT column takes 1.
            SQLBIGINT n = v.toBool() ? (sqlType == SQL_BIT ? 1 : -1) : 0;
            put(p.data, n);
            cType = SQL_C_SBIGINT;
            break;
        }
        case ValueKind::Integer: {
            SQLBIGINT n = v.toInteger();
            put(p.data, n);
            cType = SQL_C_SBIGINT;
            break;
        }
        case ValueKind::Decimal: {
            // NOTE: psqlODBC prints SQL_C_DOUBLE parameters with the locale's decimal
            // separator; text written here always has a dot.
            char buf[64];
            auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v.toDouble());
            p.data.assign(buf, end);
            p.data.push_back('\0');
            p.indicator = end - buf;
            cType = SQL_C_CHAR;
            break;
        }
        case ValueKind::Currency: {
            // As text with a dot, for the reason above; the server keeps every digit.
            const std::string t = v.toCurrency().plainText();
            p.data.assign(t.begin(), t.end());
            p.data.push_back('\0');
            p.indicator = static_cast<SQLLEN>(t.size());
            cType = SQL_C_CHAR;
            if (sqlType != SQL_DECIMAL && sqlType != SQL_NUMERIC) {
                sqlType = SQL_DECIMAL;
                size = 19;
                digits = 4;
            }
            break;
        }
        case ValueKind::DateTime: {
            DateTime d = v.toDateTime();
            if (sqlType == SQL_TYPE_DATE || sqlType == SQL_DATE) {
                SQL_DATE_STRUCT ds{static_cast<SQLSMALLINT>(d.year), static_cast<SQLUSMALLINT>(d.month),
                                   static_cast<SQLUSMALLINT>(d.day)};
                put(p.data, ds);
                cType = SQL_C_TYPE_DATE;
            } else if (sqlType == SQL_TYPE_TIME || sqlType == SQL_TIME) {
                SQL_TIME_STRUCT ts{static_cast<SQLUSMALLINT>(d.hour), static_cast<SQLUSMALLINT>(d.minute),
                                   static_cast<SQLUSMALLINT>(d.second)};
                put(p.data, ts);
                cType = SQL_C_TYPE_TIME;
            } else {
                SQL_TIMESTAMP_STRUCT ts{static_cast<SQLSMALLINT>(d.year), static_cast<SQLUSMALLINT>(d.month),
                                        static_cast<SQLUSMALLINT>(d.day), static_cast<SQLUSMALLINT>(d.hour),
                                        static_cast<SQLUSMALLINT>(d.minute), static_cast<SQLUSMALLINT>(d.second), 0};
                put(p.data, ts);
                cType = SQL_C_TYPE_TIMESTAMP;
                if (sqlType != SQL_TYPE_TIMESTAMP && sqlType != SQL_TIMESTAMP) {
                    sqlType = SQL_TYPE_TIMESTAMP;
                    size = 19;
                    digits = 0;
                }
            }
            break;
        }
        default: {
            const std::string utf8 = v.toText();
            OdbcWString w = toOdbcText(utf8);
            if (wide) {
                p.data.resize((w.size() + 1) * sizeof(SQLWCHAR));
                std::memcpy(p.data.data(), w.c_str(), p.data.size());
                p.indicator = static_cast<SQLLEN>(w.size() * sizeof(SQLWCHAR));
            } else {
                p.data.assign(utf8.begin(), utf8.end());
                p.data.push_back('\0');
                p.indicator = static_cast<SQLLEN>(utf8.size());
                cType = SQL_C_CHAR;
            }
            if (!isTextType(sqlType) && sqlType != SQL_DECIMAL && sqlType != SQL_NUMERIC) {
                // Text into a column of another type: let the server convert it.
                sqlType = wide ? SQL_WVARCHAR : SQL_VARCHAR;
                size = std::max<SQLULEN>(w.size(), SQLULEN{1});
                digits = 0;
            }
            if (isTextType(sqlType)) size = std::max<SQLULEN>({size, static_cast<SQLULEN>(w.size()), SQLULEN{1}});
            break;
        }
        }
    }
    if ((cType == SQL_C_WCHAR || (cType == SQL_C_CHAR && v.kind() == ValueKind::Text)) &&
        p.indicator != SQL_NULL_DATA && !isTextType(sqlType) && sqlType != SQL_DECIMAL && sqlType != SQL_NUMERIC)
        sqlType = wide ? SQL_WVARCHAR : SQL_VARCHAR;
    if (size == 0) size = 1;
    if (!SQL_SUCCEEDED(SQLBindParameter(stmt_.get(), static_cast<SQLUSMALLINT>(index), SQL_PARAM_INPUT, cType,
                                        sqlType, size, digits, p.data.data(),
                                        static_cast<SQLLEN>(p.data.size()), &p.indicator)))
        fail("ODBC bind parameter " + col.name);
}

void OdbcStatement::bindValue(int index, const Value& v) {
    OdbcColumn col;
    col.name = "?" + std::to_string(index);
    switch (v.kind()) {
    case ValueKind::Boolean: col.sqlType = SQL_SMALLINT, col.size = 5; break;
    case ValueKind::Integer: {
        const std::int64_t n = v.toInteger();
        const bool small = n >= INT32_MIN && n <= INT32_MAX;
        col.sqlType = small ? SQL_INTEGER : SQL_BIGINT;
        col.size = small ? 10 : 19;
        break;
    }
    case ValueKind::Decimal: col.sqlType = SQL_DOUBLE, col.size = 15; break;
    case ValueKind::Currency: col.sqlType = SQL_DECIMAL, col.size = 19, col.digits = 4; break;
    case ValueKind::DateTime: {
        const DateTime d = v.toDateTime();
        const bool dateOnly = d.hour == 0 && d.minute == 0 && d.second == 0;
        col.sqlType = dateOnly ? SQL_TYPE_DATE : SQL_TYPE_TIMESTAMP;
        col.size = dateOnly ? 10 : 19;
        break;
    }
    default: col.sqlType = session_->wideText() ? SQL_WVARCHAR : SQL_VARCHAR; break;
    }
    bind(index, v, col);
}

void OdbcStatement::unbind() {
    SQLFreeStmt(stmt_.get(), SQL_RESET_PARAMS);
    params_.clear();
}

void OdbcStatement::closeCursor() noexcept {
    if (stmt_) SQLFreeStmt(stmt_.get(), SQL_CLOSE);
}

}  // namespace zq
