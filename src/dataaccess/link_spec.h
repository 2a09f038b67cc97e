#pragma once
// What a link stores: the arguments of its CREATE VIRTUAL TABLE statement.
//
//   CREATE VIRTUAL TABLE "s" USING tarvlink(
//       connect='ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};…;DATABASE=/usr/tarv/ditt001;…',
//       source='as',
//       columns='"sys_record" SERIAL, "descr" CHAR(50)',   -- remote columns at link time
//       key='sys_record', keyname='PrimaryKey')             -- the declared primary key
//
// Every value is an SQL text literal. columns may be left out (the module then reads
// the remote table's columns when the link is created or connected); key and keyname
// are absent until a primary key is declared.

#include <optional>
#include <string>
#include <vector>

namespace zq {

inline constexpr const char* kLinkModuleName = "tarvlink";

struct LinkColumn {
    std::string name;
    std::string type;  ///< as the remote engine declares it; may be empty
};

struct LinkSpec {
    std::string connect;
    std::string source;
    std::vector<LinkColumn> columns;
    std::string keyName;
    std::vector<std::string> key;

    /// The statement that creates the link `table` with these arguments.
    std::string createStatement(const std::string& table) const;
    /// The schema the module declares to SQLite (CREATE TABLE x(...)).
    std::string declaration() const;
    /// Reads module arguments ("connect='…'", …). Throws zq::Error when connect or source
    /// is missing or an argument is not understood.
    static LinkSpec fromArguments(const std::vector<std::string>& args);
    /// Reads the statement kept in sqlite_schema; nothing when it is not a link.
    static std::optional<LinkSpec> fromSchemaSql(const std::string& sql);
    /// Index of a column by name, case-insensitive; -1 when absent.
    int columnIndex(const std::string& name) const;
};

}  // namespace zq
