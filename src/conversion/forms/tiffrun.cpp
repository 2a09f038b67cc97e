#include "conversion/forms/tiffrun.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "dataaccess/resolver.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace zq {

TiffRun::TiffRun(Dialogs& dialogs, Progress& progress, QObject* parent)
    : QObject(parent), dialogs_(dialogs), progress_(progress) {}

TiffRun::~TiffRun() { stopAndWait(); }

void TiffRun::start(std::string connectionString, EngineSettings engines, PdfConverter converter,
                    std::vector<TiffEntry> archives) {
    if (running_) return;
    running_ = true;
    results_.clear();
    abort_ = nullptr;
    progress_.reset();
    worker_ = std::thread(&TiffRun::work, this, std::move(connectionString), std::move(engines),
                          std::move(converter), std::move(archives));
}

void TiffRun::work(std::string connectionString, EngineSettings engines, PdfConverter converter,
                   std::vector<TiffEntry> archives) {
    std::vector<ConvTableResult> results;
    std::exception_ptr abort;
    try {
        ConnectionPtr cnn;
        // Opening the worker's connection stands where the original used the open
        // archive connection: a failure goes to the same report as the run's others.
        runGuarded(dialogs_, "frmTiff", "ConvTable", connectionString,
                   [&] { cnn = openConnection(connectionString, engines); });
        if (cnn) {
            ConvTable conv(*cnn, dialogs_, progress_, converter);
            for (const TiffEntry& e : archives) {
                if (progress_.cancelRequested()) break;
                results.push_back(conv.run(e.archivio, e.pathDocs, e.tabella, e.pathDocs));
            }
            try {
                cnn->close();
            } catch (...) {
                // the updates are written row by row; a failing close loses nothing
            }
        }
    } catch (const AbortProgram&) {
        abort = std::current_exception();
    } catch (const std::exception& e) {
        // Nothing else leaves ConvTable; should it, the person still hears of it and the
        // form stays usable.
        try {
            if (GestErr(dialogs_, toError(e), "frmTiff", "ConvTable", "") == 0) throw AbortProgram();
        } catch (...) {
            abort = std::current_exception();
        }
    }
    QMetaObject::invokeMethod(
        this,
        [this, results = std::move(results), abort] {
            results_ = results;
            abort_ = abort;
            done();
        },
        Qt::QueuedConnection);
}

void TiffRun::done() {
    if (worker_.joinable()) worker_.join();
    running_ = false;
    emit finished();
}

void TiffRun::stopAndWait() {
    if (!running_) return;
    dialogs_.detach();
    progress_.requestCancel();
    // The worker may be waiting for a question to be answered on this thread, and its
    // end is reported here too: events must keep running until it has.
    while (running_) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace zq
