#include "journal/journal.h"

#include "dataaccess/fault_hook.h"

#include <sqlite3.h>

#include <ctime>
#include <sstream>

namespace zq {
namespace {

const char* kSource = "zq_journal";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (!l.empty()) out.push_back(l);
    return out;
}

}  // namespace

bool Journal::Entry::did(const std::string& step) const {
    for (const auto& s : steps)
        if (s == step) return true;
    return false;
}

std::string Journal::Entry::param(const std::string& key) const {
    for (const auto& l : lines(params))
        if (l.rfind(key + "=", 0) == 0) return l.substr(key.size() + 1);
    return {};
}

std::string nowText() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%d/%m/%Y %H.%M.%S", &tm);
    return buf;
}

std::string journalParams(std::initializer_list<std::pair<std::string, std::string>> pairs) {
    std::string out;
    for (const auto& [k, v] : pairs) out += k + "=" + v + "\n";
    return out;
}

Journal::Journal(const std::string& archivePath) : db_(openSqliteFile(archivePath, /*create=*/false, kSource)) {
    execSql(db_.get(),
            "CREATE TABLE IF NOT EXISTS zq_journal(id INTEGER PRIMARY KEY, operation TEXT NOT NULL, "
            "archive TEXT NOT NULL, params TEXT NOT NULL DEFAULT '', steps TEXT NOT NULL DEFAULT '', "
            "who TEXT NOT NULL DEFAULT '', started TEXT NOT NULL, finished TEXT)",
            kSource);
}

bool Journal::exists(const std::string& archivePath) {
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(archivePath.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        return false;
    }
    SqliteDbPtr db(raw);
    sqlite3_busy_timeout(raw, 10000);
    sqlite3_stmt* st = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(raw, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'zq_journal'", -1, &st,
                           nullptr) == SQLITE_OK)
        found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return found;
}

long Journal::begin(const std::string& operation, const std::string& archive, const std::string& params,
                    const std::string& who) {
    FaultHook::point("journal");
    Statement st(db_.get(), "INSERT INTO zq_journal(operation, archive, params, who, started) VALUES(?1, ?2, ?3, ?4, ?5)",
                 kSource);
    st.bindText(1, operation);
    st.bindText(2, archive);
    st.bindText(3, params);
    st.bindText(4, who);
    st.bindText(5, nowText());
    st.step();
    return static_cast<long>(sqlite3_last_insert_rowid(db_.get()));
}

void Journal::mark(long id, const std::string& step) {
    FaultHook::point("journal");
    Statement st(db_.get(), "UPDATE zq_journal SET steps = steps || ?2 || char(10) WHERE id = ?1", kSource);
    st.bindInt(1, id);
    st.bindText(2, step);
    st.step();
}

void Journal::finish(long id) {
    FaultHook::point("journal");
    Statement st(db_.get(), "UPDATE zq_journal SET finished = ?2 WHERE id = ?1", kSource);
    st.bindInt(1, id);
    st.bindText(2, nowText());
    st.step();
}

std::vector<Journal::Entry> Journal::read(const std::string& where, const std::string& a, const std::string& b) {
    Statement st(db_.get(),
                 "SELECT id, operation, archive, params, steps, who, started, coalesce(finished, '') FROM zq_journal " +
                     where + " ORDER BY id",
                 kSource);
    if (!a.empty()) st.bindText(1, a);
    if (!b.empty()) st.bindText(2, b);
    std::vector<Entry> out;
    while (st.step()) {
        Entry e;
        e.id = static_cast<long>(st.columnInt(0));
        e.operation = st.columnText(1);
        e.archive = st.columnText(2);
        e.params = st.columnText(3);
        e.steps = lines(st.columnText(4));
        e.who = st.columnText(5);
        e.started = st.columnText(6);
        e.finished = st.columnText(7);
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<Journal::Entry> Journal::unfinished(const std::string& operation) {
    if (operation.empty()) return read("WHERE finished IS NULL");
    return read("WHERE finished IS NULL AND operation = ?1", operation);
}

std::optional<Journal::Entry> Journal::unfinishedFor(const std::string& operation, const std::string& archive) {
    auto found = read("WHERE finished IS NULL AND operation = ?1 AND archive = ?2 COLLATE NOCASE", operation, archive);
    if (found.empty()) return std::nullopt;
    return found.back();
}

std::vector<Journal::Entry> Journal::all() { return read(""); }

}  // namespace zq
