#pragma once
// A connection to one database: the TARV common or company database (embedded SQLite
// files, or a server through ODBC) or the archive database (an SQLite file). Opened by
// connection string through openConnection(); every failure throws zq::Error.

#include "dataaccess/recordset.h"
#include "dataaccess/row_appender.h"

#include <memory>
#include <string>
#include <vector>

namespace zq {

class Connection {
public:
    virtual ~Connection() = default;

    /// 0 closed, 1 open (the original's State).
    virtual int state() const = 0;
    virtual void close() = 0;

    /// Runs one statement in the SQL of the database behind it; returns rows affected
    /// (-1 when unknown).
    virtual long execute(const std::string& sql) = 0;
    virtual RecordsetPtr openRecordset(const std::string& sqlOrTable, CursorType cursor,
                                       LockType lock) = 0;

    /// Runs one statement whose values are "?" placeholders, one per element of
    /// `params`, each bound as a parameter of its own type: Integer, Decimal and Boolean
    /// as numbers, DateTime as a date (no time of day) or a timestamp, Text as text.
    /// No value is ever written into the statement text, so the server reads a date as
    /// a date whatever its date-text settings (Informix DBDATE). Rows affected.
    virtual long execute(const std::string& sql, const std::vector<Value>& params);
    /// openRecordset with "?" placeholders bound as execute(sql, params) binds them.
    virtual RecordsetPtr openRecordset(const std::string& sql, CursorType cursor, LockType lock,
                                       const std::vector<Value>& params);

    /// An appender of new rows to `table`, one value per name of `columns`. This one goes
    /// through an updatable recordset; engines that can do better override it.
    virtual RowAppenderPtr openRowAppender(const std::string& table, const std::vector<std::string>& columns);
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;

    /// The connection string it was opened with.
    virtual const std::string& connectionString() const = 0;
    /// "embedded", "odbc" or "archive".
    virtual std::string engineName() const = 0;
};

using ConnectionPtr = std::unique_ptr<Connection>;

/// The original's command object: it only ever executes one text on one connection.
struct Command {
    Connection* activeConnection = nullptr;
    std::string commandText;
    long execute() const;
};

}  // namespace zq
