#include "dataaccess/jet_types.h"

#include "common/error.h"
#include "dataaccess/sql_text.h"

#include <map>
#include <regex>

namespace zq {

namespace {

struct JetType {
    int code;
    const char* name;   // declaration name
    bool sized;         // declared with (size)
    long defaultSize;   // size Jet reports when none is declared
    int defaultAttributes;
};

// One row per type code the archive can hold.
const JetType kJetTypes[] = {
    {dbBoolean, "BIT", false, 1, dbFixedField},
    {dbByte, "BYTE", false, 1, dbFixedField},
    {dbInteger, "SHORT", false, 2, dbFixedField},
    {dbLong, "LONG", false, 4, dbFixedField},
    {dbCurrency, "CURRENCY", false, 8, dbFixedField},
    {dbSingle, "SINGLE", false, 4, dbFixedField},
    {dbDouble, "DOUBLE", false, 8, dbFixedField},
    {dbDate, "DATETIME", false, 8, dbFixedField},
    {dbBinary, "BINARY", true, 255, dbFixedField},
    {dbText, "TEXT", true, 255, dbVariableField},
    {dbLongBinary, "LONGBINARY", false, 0, dbVariableField},
    {dbMemo, "LONGTEXT", false, 0, dbVariableField},  // MEMO's synonym: TEXT affinity in SQLite
    {dbGUID, "GUID", false, 16, dbFixedField},
    {dbBigInt, "BIGINT", false, 8, dbFixedField},
    {dbVarBinary, "VARBINARY", true, 255, dbVariableField},
    {dbChar, "CHAR", true, 255, dbFixedField},
    {dbNumeric, "NUMERIC", false, 19, dbFixedField},
    {dbDecimal, "DECIMAL", false, 16, dbFixedField},
    {dbFloat, "FLOAT", false, 8, dbFixedField},
    {dbTime, "TIME", false, 8, dbFixedField},
    {dbTimeStamp, "TIMESTAMP", false, 8, dbFixedField},
};

const JetType* byCode(int code) {
    for (const auto& t : kJetTypes)
        if (t.code == code) return &t;
    return nullptr;
}

// Declarations a table made by plain SQL may use, with the Jet type each one means.
const std::map<std::string, int>& synonyms() {
    static const std::map<std::string, int> m = {
        {"BIT", dbBoolean}, {"BOOLEAN", dbBoolean}, {"YESNO", dbBoolean}, {"LOGICAL", dbBoolean},
        {"BYTE", dbByte}, {"TINYINT", dbByte}, {"SHORT", dbInteger}, {"SMALLINT", dbInteger},
        {"INTEGER2", dbInteger}, {"LONG", dbLong}, {"INT", dbLong}, {"INTEGER", dbLong}, {"INTEGER4", dbLong},
        {"COUNTER", dbLong}, {"AUTOINCREMENT", dbLong}, {"CURRENCY", dbCurrency}, {"MONEY", dbCurrency},
        {"SINGLE", dbSingle}, {"REAL", dbSingle}, {"FLOAT4", dbSingle}, {"DOUBLE", dbDouble},
        {"FLOAT8", dbDouble}, {"DATETIME", dbDate}, {"DATE", dbDate}, {"BINARY", dbBinary},
        {"TEXT", dbText}, {"VARCHAR", dbText}, {"ALPHANUMERIC", dbText}, {"STRING", dbText},
        {"LONGBINARY", dbLongBinary}, {"IMAGE", dbLongBinary}, {"OLEOBJECT", dbLongBinary}, {"BLOB", dbLongBinary},
        {"MEMO", dbMemo}, {"LONGTEXT", dbMemo}, {"LONGCHAR", dbMemo}, {"NOTE", dbMemo}, {"CLOB", dbMemo},
        {"GUID", dbGUID}, {"BIGINT", dbBigInt}, {"VARBINARY", dbVarBinary}, {"CHAR", dbChar},
        {"CHARACTER", dbChar}, {"NUMERIC", dbNumeric}, {"DECIMAL", dbDecimal}, {"FLOAT", dbFloat},
        {"TIME", dbTime}, {"TIMESTAMP", dbTimeStamp},
    };
    return m;
}

struct ParsedType {
    std::string base;  // upper case, first word
    long size = -1;    // first number in parentheses
};

ParsedType parseType(const std::string& declType) {
    static const std::regex re(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)(?:[^(]*\(\s*(\d+)[^)]*\))?.*$)");
    std::smatch m;
    ParsedType p;
    std::string t = declType;
    if (!std::regex_match(t, m, re)) return p;
    p.base = upperAscii(m[1].str());
    if (m[2].matched) p.size = std::stol(m[2].str());
    return p;
}

FieldDef makeField(const std::string& name, int code, long size, int attributes) {
    FieldDef f;
    f.name = name;
    f.type = code;
    f.size = size;
    f.attributes = attributes;
    return f;
}

}  // namespace

bool isCounter(const FieldDef& f) { return f.type == dbLong && (f.attributes & dbAutoIncrField) != 0; }

std::string jetDeclaration(const FieldDef& f) {
    if (isCounter(f)) return "COUNTER";
    const JetType* t = byCode(f.type);
    if (!t) throw Error(kErrProviderFailure, "field " + f.name + ": type " + std::to_string(f.type) + " not supported",
                        "zq.archive");
    if (!t->sized) return t->name;
    long size = f.size > 0 ? f.size : t->defaultSize;
    return std::string(t->name) + "(" + std::to_string(size) + ")";
}

FieldDef fieldFromDeclaration(const std::string& name, const std::string& declType) {
    ParsedType p = parseType(declType);
    auto it = synonyms().find(p.base);
    if (it == synonyms().end()) return makeField(name, dbText, 255, dbVariableField);
    const JetType* t = byCode(it->second);
    long size = (t->sized && p.size > 0) ? p.size : t->defaultSize;
    int attributes = t->defaultAttributes;
    if (p.base == "COUNTER" || p.base == "AUTOINCREMENT") attributes = dbFixedField | dbAutoIncrField;
    return makeField(name, t->code, size, attributes);
}

FieldDef fieldFromRemoteType(const std::string& name, const std::string& remoteType) {
    ParsedType p = parseType(remoteType);
    const std::string& b = p.base;
    if (b == "CHAR" || b == "CHARACTER" || b == "NCHAR" || b == "BPCHAR")
        return makeField(name, dbText, p.size > 0 ? p.size : 1, dbFixedField);
    if (b == "VARCHAR" || b == "NVARCHAR" || b == "LVARCHAR")
        return makeField(name, dbText, p.size > 0 ? p.size : 255, dbVariableField);
    if (b == "TEXT" || b == "CLOB") return makeField(name, dbMemo, 0, dbVariableField);
    if (b == "SERIAL") return makeField(name, dbLong, 4, dbFixedField | dbAutoIncrField);
    if (b == "INTEGER" || b == "INT" || b == "INT4") return makeField(name, dbLong, 4, dbFixedField);
    if (b == "SMALLINT" || b == "INT2") return makeField(name, dbInteger, 2, dbFixedField);
    if (b == "BIGINT" || b == "INT8" || b == "SERIAL8" || b == "BIGSERIAL")
        return makeField(name, dbBigInt, 8, dbFixedField);
    if (b == "MONEY") return makeField(name, dbCurrency, 8, dbFixedField);
    if (b == "DECIMAL" || b == "NUMERIC" || b == "DEC") return makeField(name, dbDouble, 8, dbFixedField);
    if (b == "FLOAT" || b == "FLOAT8" || b == "DOUBLE") return makeField(name, dbDouble, 8, dbFixedField);
    if (b == "SMALLFLOAT" || b == "REAL" || b == "FLOAT4") return makeField(name, dbSingle, 4, dbFixedField);
    if (b == "DATE" || b == "DATETIME" || b == "TIMESTAMP") return makeField(name, dbDate, 8, dbFixedField);
    if (b == "BOOLEAN" || b == "BOOL") return makeField(name, dbBoolean, 1, dbFixedField);
    return makeField(name, dbText, 255, dbVariableField);
}

}  // namespace zq
