#pragma once
// Converts the archives ticked in the conversion form on a worker thread, one after
// the other in list order, through ConvTable, so the window stays responsive while the
// documents are rendered. The questions and messages of the run are shown on the
// user-interface thread (UiThreadDialogs) and its progress is drawn there
// (QueuedProgress); "Annulla" stops the run after the documents in progress, and no
// further archive is started.
//
// The worker reads and writes the archive through a connection of its own to the same
// archive database, so the program's archive connection is never used from two
// threads at once.

#include "conversion/conv_table.h"
#include "conversion/forms/queuedprogress.h"
#include "conversion/forms/uithreaddialogs.h"
#include "conversion/pdf_converter.h"
#include "conversion/tiff_list.h"
#include "dataaccess/engine_settings.h"

#include <QObject>

#include <exception>
#include <thread>
#include <vector>

namespace zq {

class TiffRun : public QObject {
    Q_OBJECT

public:
    /// `dialogs` and `progress` are used on the calling (user-interface) thread only.
    TiffRun(Dialogs& dialogs, Progress& progress, QObject* parent = nullptr);
    /// Waits for a run still going (see stopAndWait).
    ~TiffRun() override;

    /// Starts converting `archives` on the archive database reached by
    /// `connectionString`; does nothing while a run is going. finished() follows.
    void start(std::string connectionString, EngineSettings engines, PdfConverter converter,
               std::vector<TiffEntry> archives);
    bool running() const { return running_; }
    /// Asks the run to stop after the documents in progress.
    void requestCancel() { progress_.requestCancel(); }
    /// For a window going away: answers further questions quietly, asks the run to stop
    /// and lets events run until it has.
    void stopAndWait();

    /// What each archive's run did, in order (archives not reached have no result).
    const std::vector<ConvTableResult>& results() const { return results_; }
    /// AbortProgram from the error report, to be rethrown by the form; else null.
    std::exception_ptr abort() const { return abort_; }

signals:
    /// The run has ended (on the user-interface thread, the worker joined).
    void finished();

private:
    void work(std::string connectionString, EngineSettings engines, PdfConverter converter,
              std::vector<TiffEntry> archives);
    void done();

    UiThreadDialogs dialogs_;
    QueuedProgress progress_;
    std::thread worker_;
    bool running_ = false;
    std::vector<ConvTableResult> results_;
    std::exception_ptr abort_;
};

}  // namespace zq
