#pragma once
// frmTiff, "Conversione da PDF a TIF": lists every archive with its area, lets the
// operator tick the ones whose PDF documents become TIFF images and converts them with
// "&Converti". The conversion (ConvTable) runs on a worker thread, so the window keeps
// drawing its progress and "Annulla" can stop the run after the documents in
// progress; while it runs the form cannot be closed.

#include "conversion/tiff_list.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zq {

class CheckColumn;
class Dialogs;
class FlexGrid;
class LabelProgress;
class Session;
class TiffRun;
class grdComm;

class frmTiff : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Conversione da PDF a TIF";
    /// "    |  N.  |<Area|<Descrizione|       "
    static constexpr const char* kFormat = "    |  N.  |<Area|<Descrizione|       ";
    /// Grid columns.
    enum Column { ColNumber = 1, ColArea = 2, ColDescription = 3, ColCheck = 4 };
    /// Width of the descriptions in twips; they take any free width beyond it.
    static constexpr int kDescriptionWidth = 3600;

    /// Messages and questions go through `dialogs`; the list is read from the
    /// session's archive connection.
    frmTiff(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);
    /// Same, with the session's dialogs.
    explicit frmTiff(Session& session, QWidget* parent = nullptr);
    ~frmTiff() override;

    /// The list entries, entry n at index n − 1.
    const std::vector<TiffEntry>& entries() const { return entries_; }
    grdComm& clsList() const { return *clsList_; }
    FlexGrid* grdList() const { return grdList_; }
    CheckColumn& checks() const { return *checks_; }
    QPushButton* cmdTiff() const { return cmdTiff_; }
    QPushButton* cmdExit() const { return cmdExit_; }
    QPushButton* cmdAnnulla() const { return cmdAnnulla_; }
    QLabel* lblTiff() const { return lblTiff_; }
    QLabel* lblTiffInit() const { return lblTiffInit_; }
    QProgressBar* prbTiff() const { return prbTiff_; }
    /// True while a conversion runs.
    bool converting() const;

    /// Reloads the list from DB_ELENCO and AREE.
    void LeggList();
    /// Redraws the check-box column.
    void DispchkS();
    /// Converts the ticked archives, in list order (returns at once; finished() ends it).
    void cmdTiff_Click();
    /// Asks the running conversion to stop after the documents in progress.
    void cmdAnnulla_Click();

signals:
    /// A conversion started by cmdTiff_Click has ended.
    void conversionFinished();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void build();
    void runFinished();
    void sayCancelled();
    void setRunning(bool on);

    Session& session_;
    Dialogs& dialogs_;
    std::vector<TiffEntry> entries_;
    FlexGrid* grdList_ = nullptr;
    QLabel* lblTiffInit_ = nullptr;
    QLabel* lblTiff_ = nullptr;
    QProgressBar* prbTiff_ = nullptr;
    QPushButton* cmdTiff_ = nullptr;
    QPushButton* cmdAnnulla_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    std::unique_ptr<grdComm> clsList_;
    std::unique_ptr<CheckColumn> checks_;
    std::unique_ptr<LabelProgress> display_;
    std::unique_ptr<TiffRun> run_;
    std::optional<WriterLock> lock_;  // held from the start of a conversion to its end
    int ticked_ = 0;                  // archives the running conversion was given
    bool cancelled_ = false;          // "Annulla" was pressed during it
    std::optional<RunLog> log_;       // the conversion's row in the log of runs
};

}  // namespace zq
