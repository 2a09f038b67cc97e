#include "dataaccess/connection.h"

#include "common/error.h"

namespace zq {

long Connection::execute(const std::string& sql, const std::vector<Value>& params) {
    if (params.empty()) return execute(sql);
    throw Error(kErrProviderFailure, "the " + engineName() + " engine takes no statement parameters", "zq.connection");
}

RecordsetPtr Connection::openRecordset(const std::string& sql, CursorType cursor, LockType lock,
                                       const std::vector<Value>& params) {
    if (params.empty()) return openRecordset(sql, cursor, lock);
    throw Error(kErrProviderFailure, "the " + engineName() + " engine takes no statement parameters", "zq.connection");
}

RowAppenderPtr Connection::openRowAppender(const std::string& table, const std::vector<std::string>& columns) {
    RecordsetPtr rs = openRecordset("SELECT * FROM [" + table + "]", CursorType::Static, LockType::Optimistic);
    std::vector<int> indexes;
    for (const auto& c : columns) {
        const int i = rs->fieldIndex(c);
        if (i < 0) throw Error(kErrProviderFailure, "Item cannot be found in the collection: " + c, "zq.connection");
        indexes.push_back(i);
    }
    return std::make_unique<RecordsetRowAppender>(std::move(rs), std::move(indexes));
}

long Command::execute() const {
    if (!activeConnection || activeConnection->state() == 0)
        throw Error(kErrProviderFailure, "command has no open connection", "zq.command");
    return activeConnection->execute(commandText);
}

}  // namespace zq
