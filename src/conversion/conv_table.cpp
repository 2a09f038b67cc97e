#include "conversion/conv_table.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "conversion/conversion_pool.h"
#include "conversion/record_folder.h"
#include "journal/run_log.h"
#include "runtime/text.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

namespace zq {
namespace {

constexpr const char* kModule = "frmTiff";
constexpr const char* kRoutine = "ConvTable";
constexpr const char* kCrLf = "\r\n";

// A row's document, as the counting and the conversion pass see it.
struct RowDocument {
    Value record;         // sys_record as read
    Value fileName;       // sys_filename as read
    std::string path;     // record folder + trimmed file name
    std::string problem;  // why the name may not stand in the record folder; empty when it may
};

std::optional<RowDocument> documentOf(const Recordset& rs, const std::string& basePath) {
    RowDocument d{rs.field("sys_record"), rs.field("sys_filename"), {}, {}};
    if (d.record.isNullish() || d.fileName.isNullish()) return std::nullopt;
    const std::string name = vbTrim(d.fileName.toText());
    d.path = recordFolder(basePath, static_cast<long>(d.record.toInteger())) + name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(d.path, ec)) return std::nullopt;
    if (vbUCase(d.path).find(".PDF") == std::string::npos) return std::nullopt;
    // "../../x.pdf" would put the TIFF outside the documents tree and the record would
    // name a file that is not in its folder.
    d.problem = entryNameProblem(name);
    return d;
}

// One scheduled document: the row it belongs to and its job in the pool.
struct Job {
    long row;
    RowDocument doc;
    ConversionPool::Ticket ticket;
};

}  // namespace

// The state of one ConvTable call.
class ConvTable::Run {
public:
    Run(ConvTable& owner, const std::string& archivio, const std::string& pathDocs, const std::string& tabella,
        const std::string& basePath)
        : o_(owner), archivio_(archivio), pathDocs_(pathDocs), basePath_(basePath),
          query_("SELECT * FROM " + tabella) {}

    ConvTableResult execute() {
        o_.progress_.begin("Inizio Conversione Documenti ...");
        try {
            body();
        } catch (const AbortProgram&) {
            finish();
            throw;
        } catch (const std::exception& e) {
            // A failure outside the guarded statements (moving through the table): the
            // run cannot resume in place, so it ends after the report.
            finish();
            if (GestErr(o_.dialogs_, toError(e), kModule, kRoutine, query_) == 0) throw AbortProgram();
            return result_;
        }
        finish();
        return result_;
    }

private:
    void body() {
        runGuarded(o_.dialogs_, kModule, kRoutine, query_, [&] {
            rs_ = o_.cnn_.openRecordset(query_, CursorType::Dynamic, LockType::Optimistic);
        });
        if (!rs_) return;
        result_.counted = countDocuments();
        if (result_.refused) return;
        if (result_.counted < 1) {
            o_.dialogs_.message({"Non sono stati trovati documenti PDF  in  " + archivio_ + kCrLf + "nel percorso " +
                                     pathDocs_ + ".",
                                 kCaption, Buttons::Ok, Icon::None});
            return;
        }
        const Answer a = o_.dialogs_.message({"Rilevati n. " + std::to_string(result_.counted) + kCrLf +
                                                  "documenti di " + archivio_ + kCrLf + "nel percorso " + pathDocs_ +
                                                  "." + kCrLf + "Continuo?",
                                              kCaption, Buttons::YesNo, Icon::Question});
        if (a != Answer::Yes) return;
        result_.confirmed = true;
        convertDocuments();
        if (result_.cancelled) return;
        result_.completed = true;
        o_.dialogs_.message({"I documenti " + archivio_ + kCrLf + "nel percorso " + pathDocs_ + kCrLf +
                                 "sono stati convertiti in formato tiff.",
                             kCaption, Buttons::Ok, Icon::None});
    }

    void finish() {
        if (rs_) {
            try {
                rs_->close();
            } catch (...) {
                // closing a recordset that failed already has nothing left to report
            }
            rs_.reset();
        }
        o_.progress_.end();
    }

    // Counts the documents; the first whose name may not stand in its record folder
    // refuses the whole archive, before anything is converted.
    long countDocuments() {
        long count = 0;
        for (; !rs_->eof(); rs_->moveNext()) {
            const auto doc = documentOf(*rs_, basePath_);
            if (!doc) continue;
            if (!doc->problem.empty()) {
                refuse(*doc);
                return 0;
            }
            ++count;
        }
        return count;
    }

    void refuse(const RowDocument& doc) {
        result_.refused = true;
        o_.dialogs_.message({"ATTENZIONE! Il documento del record " + doc.record.toText() + " di " + archivio_ + kCrLf +
                                 "ha un nome non valido: " + vbTrim(doc.fileName.toText()) + kCrLf + "(" +
                                 doc.problem + ")." + kCrLf + "Nessun documento dell'archivio è stato convertito.",
                             kCaption, Buttons::Ok, Icon::Exclamation});
    }

    void convertDocuments() {
        max_ = result_.counted;
        value_ = 0;
        o_.progress_.setRange(max_);
        o_.progress_.setValue(0);
        ConversionPool pool(o_.converter_.settings().effectiveThreads());
        std::vector<Job> jobs = schedule(pool);
        applyResults(pool, jobs);
        if (result_.cancelled) result_.left = static_cast<long>(jobs.size()) - reached_;
    }

    // First walk: every document found goes to the workers at once, in table order.
    std::vector<Job> schedule(ConversionPool& pool) {
        std::vector<Job> jobs;
        rs_->moveFirst();
        for (long row = 0; !rs_->eof(); rs_->moveNext(), ++row) {
            auto doc = documentOf(*rs_, basePath_);
            if (!doc || !doc->problem.empty()) continue;  // a name written since the count
            const PdfConverter& conv = o_.converter_;
            std::string path = doc->path;
            jobs.push_back({row, std::move(*doc), pool.submit([&conv, path] { return conv.convertDocument(path); })});
        }
        return jobs;
    }

    // Second walk: each row is written when its document is done, one by one, from
    // this thread.
    void applyResults(ConversionPool& pool, std::vector<Job>& jobs) {
        auto next = jobs.begin();
        long lastStarted = -1;  // known once a cancel froze the set of started jobs
        rs_->moveFirst();
        for (long row = 0; !rs_->eof(); rs_->moveNext(), ++row) {
            if (!result_.cancelled && o_.progress_.cancelRequested()) lastStarted = cancel(pool, jobs);
            if (result_.cancelled && row > lastStarted) return;
            if (next != jobs.end() && next->row == row) {
                // The bar and the label count the same thing: documents, not table rows.
                advanceBar();
                o_.progress_.setLabel("Conversione Documenti (" + std::to_string(value_) + " di " +
                                      std::to_string(max_) + ")");
                Job& job = *next++;
                const std::optional<std::string> tiff = await(pool, jobs, job, lastStarted);
                if (!tiff) return;  // cancelled before it started: this row and the rest stay as they are
                ++reached_;
                applyTiff(job, *tiff);
            }
            runGuarded(o_.dialogs_, kModule, kRoutine, query_, [&] { rs_->update(); });
        }
    }

    long cancel(ConversionPool& pool, const std::vector<Job>& jobs) {
        pool.dropPending();
        result_.cancelled = true;
        long last = -1;
        for (const Job& j : jobs)
            if (j.ticket.started->load()) last = j.row;
        return last;
    }

    // The TIFF path of a job once done ("" when the PDF could not be opened or the
    // error report said Ignore); nothing when a cancel kept it from starting.
    std::optional<std::string> await(ConversionPool& pool, std::vector<Job>& jobs, Job& job, long& lastStarted) {
        using namespace std::chrono_literals;
        auto& result = job.ticket.result;
        while (result.wait_for(50ms) != std::future_status::ready) {
            o_.dialogs_.yield();
            if (!result_.cancelled && o_.progress_.cancelRequested()) lastStarted = cancel(pool, jobs);
        }
        if (!job.ticket.started->load()) return std::nullopt;
        std::string tiff;
        bool first = true;
        const bool done = runGuarded(o_.dialogs_, kModule, kRoutine, query_, [&] {
            if (first) {
                first = false;
                tiff = result.get();
            } else {
                tiff = o_.converter_.convertDocument(job.doc.path);  // Retry
            }
        });
        if (!done) ++result_.failed;
        else if (tiff.empty()) ++result_.unreadable;
        return tiff;
    }

    void applyTiff(const Job& job, const std::string& tiff) {
        if (tiff.empty()) return;
        // The row must still be the one whose document was converted: if the table
        // changed under the run, the TIFF stays on disk but no other record is touched.
        if (rs_->field("sys_record") != job.doc.record || rs_->field("sys_filename") != job.doc.fileName) return;
        rs_->setField("SYS_FILENAME", Value(fileNameOf(tiff)));
        ++result_.converted;
    }

    void advanceBar() {
        if (value_ + 1 > max_) o_.progress_.setRange(++max_);
        o_.progress_.setValue(++value_);
    }

    ConvTable& o_;
    std::string archivio_, pathDocs_, basePath_, query_;
    RecordsetPtr rs_;
    ConvTableResult result_;
    long max_ = 0, value_ = 0;
    long reached_ = 0;  // documents whose conversion ended (converted, unreadable or failed)
};

ConvTable::ConvTable(Connection& cnnArch, Dialogs& dialogs, Progress& progress, const PdfConverter& converter)
    : cnn_(cnnArch), dialogs_(dialogs), progress_(progress), converter_(converter) {}

ConvTableResult ConvTable::run(const std::string& archivio, const std::string& pathDocs, const std::string& tabella,
                               const std::string& basePath) {
    ConvTableResult r = Run(*this, archivio, pathDocs, tabella, basePath).execute();
    r.tabella = tabella;
    return r;
}

void logConversions(RunLog& log, const std::vector<ConvTableResult>& results, bool interrupted) {
    long done = 0, notDone = 0;
    for (const auto& r : results) {
        log.add(0, r.converted);
        if (r.converted > 0) log.archive(r.tabella);
        interrupted = interrupted || r.cancelled;
        if (r.counted < 1 && !r.refused) continue;  // no PDF in it: neither done nor left
        const bool whole = !r.refused && r.completed && r.failed == 0 && r.unreadable == 0;
        ++(whole ? done : notDone);
    }
    log.end(interrupted ? RunLog::kCancelled : RunLog::outcomeOf(done, notDone));
}

std::string ConvTable::fileNameOf(const std::string& path) {
    const auto cut = path.find('/') != std::string::npos ? path.rfind('/') : path.rfind('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace zq
