#include "dataaccess/counter.h"

#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_handle.h"

namespace zq {

void ensureCounterTable(sqlite3* db, const std::string& source) {
    execSql(db, "CREATE TABLE IF NOT EXISTS zq_counters(id INTEGER PRIMARY KEY, last INTEGER NOT NULL)", source);
}

void installCounter(sqlite3* db, const std::string& table, const std::string& column, bool zeroMeansNext,
                    const std::string& source) {
    ensureCounterTable(db, source);
    const std::string t = sqliteName(table);
    const std::string c = sqliteName(column);
    execSql(db, "INSERT INTO zq_counters(last) SELECT coalesce(max(" + c + "), 0) FROM " + t, source);
    Statement idQuery(db, "SELECT max(id) FROM zq_counters", source);
    idQuery.step();
    const std::string id = std::to_string(idQuery.columnInt(0));
    const std::string last = "(SELECT last FROM zq_counters WHERE id = " + id + ")";
    std::string when = "NEW." + c + " IS NULL";
    if (zeroMeansNext) when += " OR NEW." + c + " = 0";
    execSql(db,
            "CREATE TRIGGER " + sqliteName("zq_counter_" + id) + " AFTER INSERT ON " + t + " FOR EACH ROW WHEN " +
                when + " BEGIN UPDATE zq_counters SET last = last + 1 WHERE id = " + id + "; UPDATE " + t +
                " SET " + c + " = " + last + " WHERE rowid = NEW.rowid; END",
            source);
    execSql(db,
            "CREATE TRIGGER " + sqliteName("zq_counter_seen_" + id) + " AFTER INSERT ON " + t +
                " FOR EACH ROW WHEN NEW." + c + " > " + last + " BEGIN UPDATE zq_counters SET last = NEW." + c +
                " WHERE id = " + id + "; END",
            source);
}

void raiseCounter(sqlite3* db, const std::string& table, long long last, const std::string& source) {
    Statement st(db,
                 "UPDATE zq_counters SET last = max(last, ?1) WHERE id IN (SELECT CAST(substr(name, 17) AS INTEGER) "
                 "FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = ?2 AND name LIKE 'zq\\_counter\\_seen\\_%' "
                 "ESCAPE '\\')",
                 source);
    st.bindInt(1, last);
    st.bindText(2, table);
    st.step();
}

}  // namespace zq
