#include "journal/writer_lock.h"

#include "journal/journal.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace zq {
namespace {

std::string readAll(int fd) {
    std::string text;
    char buf[512];
    ssize_t n;
    if (::lseek(fd, 0, SEEK_SET) < 0) return text;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(n));
    return text;
}

WriterLock::Holder parse(const std::string& text) {
    WriterLock::Holder h;
    std::string* parts[] = {&h.user, &h.program, &h.pid, &h.since, &h.operation};
    std::size_t start = 0;
    for (auto* p : parts) {
        const std::size_t end = text.find_first_of("\t\n", start);
        *p = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return h;
}

// -1 when the file cannot be opened at all (no folder, no permission): the operation
// then meets that same problem on the archive itself and says so in its own words.
int openLockFile(const std::string& archivePath) {
    return ::open(WriterLock::lockPath(archivePath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0664);
}

}  // namespace

std::string WriterLock::lockPath(const std::string& archivePath) { return archivePath + ".lock"; }

std::chrono::milliseconds WriterLock::defaultWait() {
    if (const char* v = std::getenv("ZQ_LOCK_WAIT_MS"); v && *v) return std::chrono::milliseconds(std::atol(v));
    return std::chrono::seconds(3);
}

std::string WriterLock::refusal(const Holder& h) {
    return "ATTENZIONE!\r\nUn'altra operazione sta modificando l'archivio:\r\n" +
           (h.operation.empty() ? std::string() : h.operation + ",\r\n") + "utente " +
           (h.user.empty() ? std::string("sconosciuto") : h.user) + ", programma " + h.program + " (processo " + h.pid +
           ")\r\nin corso dal " + h.since + ".\r\n\r\nNessuna modifica effettuata: riprovare al termine.";
}

std::optional<WriterLock> WriterLock::tryAcquire(const std::string& archivePath, const std::string& user,
                                                 const std::string& operation) {
    const int fd = openLockFile(archivePath);
    if (fd < 0) return WriterLock(-1);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    // Whoever held it before is gone (the kernel released the lock): its text is stale.
    const std::string text = user + "\t" + program_invocation_short_name + "\t" + std::to_string(::getpid()) + "\t" +
                             nowText() + "\t" + operation + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
    }
    return WriterLock(fd);
}

std::optional<WriterLock::Holder> WriterLock::holder(const std::string& archivePath) {
    const int fd = ::open(lockPath(archivePath).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<Holder> h;
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) h = parse(readAll(fd));
    ::close(fd);
    return h;
}

std::optional<WriterLock> WriterLock::acquire(const std::string& archivePath, const std::string& user,
                                              Dialogs& dialogs, const std::string& caption,
                                              std::chrono::milliseconds wait) {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (auto lock = tryAcquire(archivePath, user, caption)) return lock;
        if (std::chrono::steady_clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const Holder h = holder(archivePath).value_or(Holder{});
    dialogs.message(Message{refusal(h), caption, Buttons::Ok, Icon::Exclamation});
    return std::nullopt;
}

WriterLock::WriterLock(WriterLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

WriterLock::~WriterLock() {
    // The text stays: it is only read while someone holds the lock.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace zq
