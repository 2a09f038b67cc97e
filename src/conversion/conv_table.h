#pragma once
// Converts the PDF documents of one archive to TIFF and points each record at its new
// file (the "&Converti" command of the conversion form, one archive per call).
//
// The run: a counting pass over the archive table, which refuses the archive (nothing
// converted) when a document's file name would leave its record folder ("../x.pdf") or
// could not be a file name; "Non sono stati trovati documenti
// PDF ..." when there is none, else the question "Rilevati n. ... Continuo?"; then a
// conversion pass that updates every row, setting SYS_FILENAME to the TIFF's file name
// where a document was converted; and the closing message. Progress shows the label
// "Conversione Documenti (n di count)" and a bar at n of count, both counting documents;
// count grows when the conversion pass finds documents the counting pass did not.
//
// Documents are converted in parallel by up to ConversionSettings::effectiveThreads()
// workers, in table order. The records themselves are written one by one from the
// calling thread on the archive connection, each as soon as its document is done, so a
// record only ever names a complete TIFF. Progress::cancelRequested() stops the run
// once the documents in progress are done: their records are updated, the rest of the
// table is left as it was, and no closing message is shown.

#include "common/dialogs.h"
#include "common/progress.h"
#include "conversion/pdf_converter.h"
#include "dataaccess/connection.h"

#include <string>
#include <vector>

namespace zq {

/// What a run did, for the form (and zelq) to act on.
struct ConvTableResult {
    long counted = 0;     ///< documents found by the counting pass
    long converted = 0;   ///< records now naming a new TIFF
    long unreadable = 0;  ///< documents that could not be opened (records unchanged)
    long failed = 0;      ///< conversions that failed and were ignored in the error report
    bool confirmed = false;  ///< the person answered Yes to "Continuo?"
    bool cancelled = false;  ///< stopped through Progress::cancelRequested()
    long left = 0;           ///< documents a cancel left as they were
    bool completed = false;  ///< the conversion pass ran to the end (closing message shown)
    bool refused = false;    ///< a document's name would leave its record folder: nothing converted
    std::string tabella;     ///< the archive's table it converted
};

class RunLog;
/// Writes a conversion run (one result per archive it started) into the log of runs.
void logConversions(RunLog& log, const std::vector<ConvTableResult>& results, bool interrupted);

class ConvTable {
public:
    /// Caption of the conversion form: the title of every message of the run.
    static constexpr const char* kCaption = "Conversione da PDF a TIF";

    ConvTable(Connection& cnnArch, Dialogs& dialogs, Progress& progress, const PdfConverter& converter);

    /// Converts one archive: `archivio` (its name, for the messages), `pathDocs` (its
    /// documents folder, for the messages), `tabella` (its table, the lower-case
    /// serial) and `basePath` (the folder the record subfolders are built from).
    /// Database and file errors go to the error report (module "frmTiff", routine
    /// "ConvTable"); Abort there throws AbortProgram after the running jobs finished.
    ConvTableResult run(const std::string& archivio, const std::string& pathDocs, const std::string& tabella,
                        const std::string& basePath);

    /// The file-name part of a path: after the last "/" when it holds one, else after
    /// the last "\" (the whole text when it holds neither).
    static std::string fileNameOf(const std::string& path);

private:
    class Run;

    Connection& cnn_;
    Dialogs& dialogs_;
    Progress& progress_;
    const PdfConverter& converter_;
};

}  // namespace zq
