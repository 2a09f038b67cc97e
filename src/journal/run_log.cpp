#include "journal/run_log.h"

#include <sqlite3.h>

#include <errno.h>
#include <pwd.h>
#include <unistd.h>

#include <exception>
#include <memory>

namespace zq {
namespace {

const char* kSource = "zq_log";
const char* kNow = "strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')";

std::string systemUser() {
    if (const passwd* pw = ::getpwuid(::geteuid())) return pw->pw_name;
    return std::to_string(::geteuid());
}

// The log's writes are raw SQLite calls, not interruption points of the crash tests:
// the log records a run and is no step of it, so a kill at a log line must leave
// exactly what a kill just before or after it leaves.
bool write(sqlite3* db, const std::string& sql, const std::vector<std::string>& texts) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return false;
    std::unique_ptr<sqlite3_stmt, StatementFinalizer> st(raw);
    for (std::size_t i = 0; i < texts.size(); ++i)
        sqlite3_bind_text(raw, static_cast<int>(i + 1), texts[i].c_str(), -1, SQLITE_TRANSIENT);
    return sqlite3_step(raw) == SQLITE_DONE;
}

const char* kCreate =
    "CREATE TABLE IF NOT EXISTS zq_log(id INTEGER PRIMARY KEY, started TEXT NOT NULL, finished TEXT, "
    "tarv_user TEXT NOT NULL DEFAULT '', system_user TEXT NOT NULL DEFAULT '', program TEXT NOT NULL DEFAULT '', "
    "operation TEXT NOT NULL, archives TEXT NOT NULL DEFAULT '', company TEXT NOT NULL DEFAULT '', "
    "year TEXT NOT NULL DEFAULT '', outcome TEXT, rows INTEGER NOT NULL DEFAULT 0, "
    "documents INTEGER NOT NULL DEFAULT 0)";

bool hasLog(sqlite3* db) {
    Statement st(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'zq_log'", kSource);
    return st.step();
}

// "yyyy-mm-dd hh:mm:ss" as the office reads dates.
std::string shown(const std::string& iso) {
    if (iso.size() < 19) return iso;
    return iso.substr(8, 2) + "/" + iso.substr(5, 2) + "/" + iso.substr(0, 4) + " " + iso.substr(11, 8);
}

}  // namespace

const std::vector<std::string>& RunLog::columns() {
    static const std::vector<std::string> names{"inizio",  "fine",    "utente TARV", "utente di sistema",
                                                "programma", "operazione", "archivi", "ditta",
                                                "anno",    "esito",   "righe",       "documenti"};
    return names;
}

std::vector<std::string> RunLog::Entry::cells() const {
    return {shown(started), shown(finished), tarvUser, systemUser, program,
            operation,      archives,        company,  year,       outcome,
            std::to_string(rows), std::to_string(documents)};
}

RunLog::RunLog(const std::string& archivePath, const std::string& operation, const std::string& tarvUser)
    : exceptionsAtStart_(std::uncaught_exceptions()) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(archivePath.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    db_.reset(raw);
    if (rc != SQLITE_OK) {
        db_.reset();  // no log for this run; the run itself goes on
        return;
    }
    sqlite3_busy_timeout(raw, 10000);
    if (!write(raw, kCreate, {}) ||
        !write(raw,
               std::string("INSERT INTO zq_log(started, tarv_user, system_user, program, operation) VALUES(") + kNow +
                   ", ?1, ?2, ?3, ?4)",
               {tarvUser, systemUser(), program_invocation_short_name, operation})) {
        db_.reset();
        return;
    }
    id_ = static_cast<long>(sqlite3_last_insert_rowid(raw));
}

RunLog::~RunLog() {
    if (ended_) return;
    if (std::uncaught_exceptions() > exceptionsAtStart_)
        end(kError);
    else
        end(archives_.empty() ? kNothing : kPartly);
}

void RunLog::company(const std::string& code, const std::string& year) {
    company_ = code;
    year_ = year;
}

void RunLog::archive(const std::string& serial) { archives_ += (archives_.empty() ? "" : " ") + serial; }

void RunLog::add(long rows, long documents) {
    rows_ += rows;
    documents_ += documents;
}

void RunLog::end(const std::string& outcome) {
    ended_ = true;
    if (!db_) return;
    // A log line that cannot be written is lost; the run it records stands.
    write(db_.get(),
          std::string("UPDATE zq_log SET finished = ") + kNow +
              ", outcome = ?2, archives = ?3, company = ?4, year = ?5, rows = CAST(?6 AS INTEGER), "
              "documents = CAST(?7 AS INTEGER) WHERE id = CAST(?1 AS INTEGER)",
          {std::to_string(id_), outcome, archives_, company_, year_, std::to_string(rows_), std::to_string(documents_)});
}

const char* RunLog::outcomeOf(long done, long notDone) {
    if (notDone == 0) return done > 0 ? kDone : kNothing;
    return done > 0 ? kPartly : kNothing;
}

std::vector<RunLog::Entry> RunLog::read(const std::string& archivePath, const std::string& since,
                                        const std::string& archive) {
    SqliteDbPtr db = openSqliteFile(archivePath, /*create=*/false, kSource);
    std::vector<Entry> out;
    if (!hasLog(db.get())) return out;
    // A serial is matched as a whole word of the blank-separated list.
    Statement st(db.get(),
                 "SELECT id, started, coalesce(finished, ''), tarv_user, system_user, program, operation, archives, "
                 "company, year, coalesce(outcome, ?3), rows, documents FROM zq_log "
                 "WHERE (?1 = '' OR started >= ?1) AND (?2 = '' OR instr(' ' || lower(archives) || ' ', "
                 "' ' || lower(?2) || ' ') > 0) ORDER BY id",
                 kSource);
    st.bindText(1, since);
    st.bindText(2, archive);
    st.bindText(3, kKilled);
    while (st.step()) {
        Entry e;
        e.id = static_cast<long>(st.columnInt(0));
        e.started = st.columnText(1);
        e.finished = st.columnText(2);
        e.tarvUser = st.columnText(3);
        e.systemUser = st.columnText(4);
        e.program = st.columnText(5);
        e.operation = st.columnText(6);
        e.archives = st.columnText(7);
        e.company = st.columnText(8);
        e.year = st.columnText(9);
        e.outcome = st.columnText(10);
        e.rows = static_cast<long>(st.columnInt(11));
        e.documents = static_cast<long>(st.columnInt(12));
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace zq
