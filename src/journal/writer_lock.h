#pragma once
// One writer at a time on an installation. Every operation that changes the archive
// database, a company's TARV database or the documents folders holds this lock for its
// whole run, in the program and in zelq alike; reads never take it.
//
// The lock is an advisory flock() on a file beside the archive database
// ("<archive>.lock"). The kernel drops it when its holder ends, however it ends, so a
// lock left by a dead process is simply taken over; the file's text (user, program,
// process, start time, operation) only serves to tell a refused operator who holds it.
// Each take opens the file anew, so two operations of one process exclude each other
// as two processes do: the program's windows follow the same rule as zelq.

#include "common/dialogs.h"

#include <chrono>
#include <optional>
#include <string>

namespace zq {

class WriterLock {
public:
    /// Who holds a lock, as its holder wrote it.
    struct Holder {
        std::string user, program, pid, since;
        std::string operation;  ///< the caption of the holder's operation; empty when it did not say
    };

    /// Takes the lock of the installation whose archive database is `archivePath`,
    /// waiting up to `wait` for another writer to finish. When it stays taken, tells
    /// the operator who holds it (title `caption`) and returns nothing: the caller
    /// then changes nothing.
    static std::optional<WriterLock> acquire(const std::string& archivePath, const std::string& user,
                                             Dialogs& dialogs, const std::string& caption,
                                             std::chrono::milliseconds wait = defaultWait());
    /// Takes the lock without waiting or telling anyone; nothing when it is held.
    /// `operation` is recorded for whoever is refused meanwhile.
    static std::optional<WriterLock> tryAcquire(const std::string& archivePath, const std::string& user,
                                                const std::string& operation = {});
    /// The holder recorded in the lock file, when the lock is held now.
    static std::optional<Holder> holder(const std::string& archivePath);
    /// The lock file of an archive database.
    static std::string lockPath(const std::string& archivePath);
    /// 3 seconds; ZQ_LOCK_WAIT_MS overrides it (scripts that would rather wait longer).
    static std::chrono::milliseconds defaultWait();
    /// The message a refused writer reads.
    static std::string refusal(const Holder& h);

    WriterLock(WriterLock&& other) noexcept;
    WriterLock& operator=(WriterLock&&) = delete;
    WriterLock(const WriterLock&) = delete;
    ~WriterLock();

private:
    explicit WriterLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace zq
