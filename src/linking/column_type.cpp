#include "linking/column_type.h"

namespace zq {

std::optional<std::string> ColumnType::informix(const FieldDef& field) {
    switch (field.type) {
        case dbText:
        case dbChar: return " CHAR(" + std::to_string(field.size) + "),";
        case dbDate:
        case dbTime:
        case dbTimeStamp: return std::string(" DATE,");
        case dbDecimal:
        case dbCurrency: return std::string(" MONEY,");
        case dbDouble:
        case dbNumeric:
        case dbBigInt: return std::string(" DECIMAL,");
        case dbFloat: return std::string(" FLOAT,");
        case dbSingle: return std::string(" SMALLFLOAT,");
        case dbInteger:
        case dbByte:
        case dbBoolean: return std::string(" SMALLINT,");
        case dbLong:
            // Only the exact attribute value of a counter (auto-increment + fixed) numbers rows.
            return std::string(field.attributes == (dbAutoIncrField | dbFixedField) ? " SERIAL," : " INTEGER,");
        case dbMemo:
        case dbVarBinary:
        case dbBinary: return std::string(" CHAR(255),");
        default: return std::nullopt;
    }
}

}  // namespace zq
