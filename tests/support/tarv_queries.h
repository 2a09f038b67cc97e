#pragma once
// Looking at an installation's TARV databases behind the program's back, the way it
// connects itself: the common database's connection string filled from the
// configuration, for any database path.

#include "app/session.h"
#include "dataaccess/resolver.h"
#include "runtime/text.h"

#include <string>
#include <vector>

namespace zq::test {

/// The program's TARV connection string for `informixPath` with the login of `c`.
inline std::string tarvConnectionString(const Config& c, const std::string& informixPath) {
    return "Provider=Ifxoledbc.2;Persist Security Info=False;host=" + c.Host + ";User ID=" + c.Utente +
           ";password=" + c.Password + ";Data Source=" + informixPath + "@" + c.Server;
}

inline ConnectionPtr openTarv(const Config& c, const EngineSettings& engines, const std::string& informixPath) {
    return openConnection(tarvConnectionString(c, informixPath), engines);
}

/// Every row of `sql`, values as trimmed texts (Null as "").
inline std::vector<std::vector<std::string>> trimmedRows(Connection& cnn, const std::string& sql) {
    auto rs = cnn.openRecordset(sql, CursorType::Static, LockType::ReadOnly);
    std::vector<std::vector<std::string>> out;
    for (; !rs->eof(); rs->moveNext()) {
        std::vector<std::string> row;
        for (int f = 0; f < rs->fieldCount(); ++f)
            row.push_back(rs->field(f).isNullish() ? std::string() : vbTrim(rs->field(f).toText()));
        out.push_back(std::move(row));
    }
    rs->close();
    return out;
}

}  // namespace zq::test
