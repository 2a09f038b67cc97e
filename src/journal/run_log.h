#pragma once
// The log of what was done on an installation: one row per run of a changing
// operation, in the program or in zelq, kept in the archive database (hidden table
// zq_log) and only ever added to. `zelq log` and the "?" menu read it.
//
//   RunLog log(cfg.PathArch, "link", cfg.Utente);   // after the writer lock is taken
//   log.company("001", "2024");
//   log.archive("0712…");                             // each archive the run changed
//   log.end(RunLog::kDone);                           // or the destructor ends it
//
// The row is written when the run starts and completed when it ends (what it changed,
// the counts, the outcome): a run that was killed shows without an end ("interrotta").
// Nothing is written in between, so the log never waits on a transaction of the run. Writing the log never stops a run: an office would rather lose
// a log line than an operation half done.

#include "dataaccess/sqlite_handle.h"

#include <string>
#include <vector>

namespace zq {

class RunLog {
public:
    // How a run ended, as the log says it.
    static constexpr const char* kDone = "completata";
    static constexpr const char* kPartly = "completata in parte";
    static constexpr const char* kNothing = "non eseguita";
    static constexpr const char* kCancelled = "annullata";
    static constexpr const char* kError = "errore";
    static constexpr const char* kKilled = "interrotta";

    /// One row of the log.
    struct Entry {
        long id = 0;
        std::string started, finished;    ///< "yyyy-mm-dd hh:mm:ss"; finished empty when killed
        std::string tarvUser, systemUser;
        std::string program;              ///< "zel_QUIRNOVA", "zelq" …
        std::string operation;            ///< "link", "unlink", "premaster" …
        std::string archives;             ///< the serials (or areas) changed, blank-separated
        std::string company, year;
        std::string outcome;              ///< one of the k… texts
        long rows = 0, documents = 0;

        /// The row as `zelq log` and the log window show it, in columns() order
        /// (dates as "dd/mm/yyyy hh:mm:ss").
        std::vector<std::string> cells() const;
    };
    /// The column headings of the log.
    static const std::vector<std::string>& columns();

    /// Writes the run's row (started, who, which program, what).
    RunLog(const std::string& archivePath, const std::string& operation, const std::string& tarvUser);
    /// Ends the row when end() was not called: kError while an exception leaves the
    /// run; otherwise a check, a question or an error answer stopped it, after some
    /// archives (kPartly) or before any (kNothing).
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    void company(const std::string& code, const std::string& year = {});
    void archive(const std::string& serial);
    void add(long rows, long documents = 0);
    void end(const std::string& outcome);

    /// The outcome of a run that went over some items: every one done, some, or none.
    static const char* outcomeOf(long done, long notDone);

    /// The log of an archive file, oldest first; empty when there is none yet.
    /// `since` ("yyyy-mm-dd") and `archive` (a serial) filter it when not empty.
    static std::vector<Entry> read(const std::string& archivePath, const std::string& since = {},
                                   const std::string& archive = {});

private:
    SqliteDbPtr db_;
    long id_ = 0;
    int exceptionsAtStart_ = 0;
    bool ended_ = false;
    std::string archives_, company_, year_;
    long rows_ = 0, documents_ = 0;
};

}  // namespace zq
