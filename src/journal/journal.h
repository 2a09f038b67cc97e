#pragma once
// The journal of changing operations, kept in the archive database itself (hidden
// table zq_journal, never listed among the archive's tables):
//
//   zq_journal(id, operation, archive, params, steps, who, started, finished)
//
// An operation writes its entry before it changes anything, marks each step after the
// step succeeded (steps is a list of names, one per line) and marks the entry finished
// at its end. An entry without `finished` is an operation that was interrupted: its
// rerun, and `zelq check --repair`, read it to complete or undo what was begun.
//
//   Journal j(archivePath);
//   const long id = j.begin("unlink", "0712…", "tarv=1", "tarv");
//   … step …  j.mark(id, "archivio");
//   j.finish(id);
//
// It has its own connection to the archive file, so an entry outlives a transaction of
// the operation that is rolled back, and stays when the process is killed.

#include "dataaccess/sqlite_handle.h"

#include <optional>
#include <string>
#include <vector>

namespace zq {

class Journal {
public:
    struct Entry {
        long id = 0;
        std::string operation;  ///< "unlink", "group", "duplicate-area" …
        std::string archive;    ///< the archive (serial) or area it works on
        std::string params;     ///< key=value lines the rerun needs
        std::vector<std::string> steps;  ///< steps done, in order
        std::string who, started, finished;

        bool did(const std::string& step) const;
        /// The value of `key` in params; empty when absent.
        std::string param(const std::string& key) const;
    };

    /// Opens the journal of the archive file `archivePath` (the table is made when missing).
    explicit Journal(const std::string& archivePath);

    long begin(const std::string& operation, const std::string& archive, const std::string& params,
               const std::string& who);
    void mark(long id, const std::string& step);
    void finish(long id);

    /// Unfinished entries, oldest first; of one operation when `operation` is given.
    std::vector<Entry> unfinished(const std::string& operation = {});
    /// The unfinished entry of `operation` on `archive`, if any.
    std::optional<Entry> unfinishedFor(const std::string& operation, const std::string& archive);
    /// Every entry, oldest first (the log of what was done).
    std::vector<Entry> all();

    /// Does the archive file have a journal at all (without making one)?
    static bool exists(const std::string& archivePath);

private:
    std::vector<Entry> read(const std::string& where, const std::string& a = {}, const std::string& b = {});
    SqliteDbPtr db_;
};

/// The local date and time as the journal and the writer lock write it: "dd/mm/yyyy hh.mm.ss".
std::string nowText();

/// Joins key=value pairs into a params text.
std::string journalParams(std::initializer_list<std::pair<std::string, std::string>> pairs);

}  // namespace zq
