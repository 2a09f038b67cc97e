#include "conversion/forms/frmtiff.h"

#include "app/session.h"
#include "common/error.h"
#include "common/gesterr.h"
#include "conversion/conversion_settings.h"
#include "conversion/forms/labelprogress.h"
#include "conversion/forms/tiffrun.h"
#include "listctl/check_column.h"
#include "listctl/fill_column.h"
#include "listctl/flex_grid.h"
#include "listctl/grdcomm.h"
#include "journal/run_log.h"
#include "journal/writer_lock.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zq {

frmTiff::frmTiff(Session& session, QWidget* parent) : frmTiff(session, session.dialogs(), parent) {}

frmTiff::frmTiff(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), session_(session), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmTiff"));
    setWindowTitle(QString::fromUtf8(kCaption));
    // The main window registers the form under its section frmTiff0.
    setProperty("x_Form", QStringLiteral("0"));
    build();

    clsList_ = std::make_unique<grdComm>(dialogs_);
    clsList_->InitGrid(grdList_, 0, windowTitle(), QString::fromUtf8(kFormat), ColNumber, 0, 0, 315);
    clsList_->setColWidth(ColArea, 2400);
    clsList_->setColWidth(ColDescription, kDescriptionWidth);
    clsList_->setColWidth(ColCheck, 450);
    grdList_->viewport()->installEventFilter(this);
    checks_ = std::make_unique<CheckColumn>(
        *clsList_, ColCheck,
        CheckEntries{[this] { return static_cast<int>(entries_.size()); },
                     [this](int n) { return entries_.at(static_cast<std::size_t>(n - 1)).selected; },
                     [this](int n, bool on) { entries_.at(static_cast<std::size_t>(n - 1)).selected = on; }},
        this);
    // A tick enables "&Converti", which stays enabled even when the last tick goes.
    checks_->setOnClick([this] {
        if (!converting()) cmdTiff_->setEnabled(true);
    });
    connect(clsList_.get(), &grdComm::Click, checks_.get(), &CheckColumn::gridClick);
    connect(clsList_.get(), &grdComm::Scroll, this, &frmTiff::DispchkS);

    display_ = std::make_unique<LabelProgress>(lblTiff_, prbTiff_);
    run_ = std::make_unique<TiffRun>(dialogs_, *display_);
    connect(run_.get(), &TiffRun::finished, this, &frmTiff::runFinished);

    LeggList();
    DispchkS();
    cmdTiff_->setEnabled(false);
}

frmTiff::~frmTiff() {
    grdList_->viewport()->removeEventFilter(this);
    // A window destroyed while converting (the program closing) lets the run stop
    // after the documents in progress before its display goes.
    disconnect(run_.get(), nullptr, this, nullptr);
    run_->stopAndWait();
}

void frmTiff::build() {
    auto* column = new QVBoxLayout(this);

    lblTiffInit_ = new QLabel(
        QString::fromUtf8("Selezionare l'archivio da convertire e premere il tasto \"Converti\"."), this);
    lblTiffInit_->setObjectName(QStringLiteral("lblTiffInit"));
    column->addWidget(lblTiffInit_);

    grdList_ = new FlexGrid(this);
    grdList_->setObjectName(QStringLiteral("grdList"));
    column->addWidget(grdList_, 1);

    lblTiff_ = new QLabel(this);
    lblTiff_->setObjectName(QStringLiteral("lblTiff"));
    lblTiff_->setVisible(false);
    column->addWidget(lblTiff_);
    prbTiff_ = new QProgressBar(this);
    prbTiff_->setObjectName(QStringLiteral("prbTiff"));
    prbTiff_->setVisible(false);
    column->addWidget(prbTiff_);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("picCNTR"));
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    cmdTiff_ = new QPushButton(QStringLiteral("&Converti"), bar);
    cmdTiff_->setObjectName(QStringLiteral("cmdTiff"));
    buttons->addWidget(cmdTiff_);
    cmdAnnulla_ = new QPushButton(QStringLiteral("Annulla"), bar);
    cmdAnnulla_->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla_->setVisible(false);
    buttons->addWidget(cmdAnnulla_);
    cmdExit_ = new QPushButton(QStringLiteral("&Esci"), bar);
    cmdExit_->setObjectName(QStringLiteral("cmdExit"));
    buttons->addWidget(cmdExit_);
    column->addWidget(bar);

    connect(cmdTiff_, &QPushButton::clicked, this, &frmTiff::cmdTiff_Click);
    connect(cmdAnnulla_, &QPushButton::clicked, this, &frmTiff::cmdAnnulla_Click);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
}

bool frmTiff::converting() const { return run_ && run_->running(); }

void frmTiff::LeggList() {
    entries_.clear();
    grdComm& list = *clsList_;
    list.InitBkmk();
    list.setRows(list.FixedRows() + 1);
    for (int c = list.FixedCols(); c < list.Cols(); ++c) list.setTextMatrix(list.FixedRows(), c, QString());
    if (session_.CnnArch) entries_ = loadTiffEntries(*session_.CnnArch);
    // One grid row per listed archive: the archives left out (a Null name, serial or
    // path) leave no blank row behind, so box i always stands for entry TopRow + i − 1.
    for (std::size_t n = 1; n <= entries_.size(); ++n) {
        const TiffEntry& e = entries_[n - 1];
        if (n > 1) list.AddNewRw();
        const int row = list.Rows() - 1;
        list.setTextMatrix(row, ColNumber, QString::number(n));
        list.setTextMatrix(row, ColArea, QString::fromStdString(e.area));
        list.setTextMatrix(row, ColDescription, QString::fromStdString(e.archivio));
    }
    list.setTopRow(list.FixedRows());
}

void frmTiff::DispchkS() {
    if (checks_) checks_->DispchkS();
}

void frmTiff::cmdTiff_Click() {
    if (converting()) return;
    std::vector<TiffEntry> ticked;
    for (const TiffEntry& e : entries_)
        if (e.selected) ticked.push_back(e);
    if (ticked.empty() || !session_.CnnArch) return;

    ConversionSettings settings;
    try {
        settings = loadConversionSettings(session_.programFolder());
    } catch (const std::exception& ex) {
        if (GestErr(dialogs_, toError(ex), "frmTiff", "cmdTiff_Click", "") == 0) throw AbortProgram();
        return;
    }
    auto lock = WriterLock::acquire(session_.cfg.PathArch, session_.cfg.Utente, dialogs_, ConvTable::kCaption);
    if (!lock) return;
    lock_.emplace(std::move(*lock));
    ticked_ = static_cast<int>(ticked.size());
    cancelled_ = false;
    log_.emplace(session_.cfg.PathArch, "convert", session_.cfg.Utente);
    setRunning(true);
    run_->start(session_.CnnArch->connectionString(), session_.engines, PdfConverter(settings), std::move(ticked));
}

void frmTiff::cmdAnnulla_Click() {
    if (!converting()) return;
    run_->requestCancel();
    cancelled_ = true;
    cmdAnnulla_->setEnabled(false);
}

void frmTiff::runFinished() {
    if (log_) logConversions(*log_, run_->results(), /*interrupted=*/false);
    log_.reset();
    lock_.reset();
    setRunning(false);
    if (run_->abort()) std::rethrow_exception(run_->abort());
    if (cancelled_) sayCancelled();
    cmdExit_->setFocus();
    emit conversionFinished();
}

void frmTiff::sayCancelled() {
    // A stopped run shows no closing message of its own: the person learns here what
    // was converted and what is left for the next run.
    long converted = 0, left = 0;
    for (const ConvTableResult& r : run_->results()) {
        converted += r.converted;
        left += r.left;
    }
    const int notStarted = ticked_ - static_cast<int>(run_->results().size());
    std::string text = "Conversione interrotta.\r\nDocumenti convertiti: " + std::to_string(converted) +
                       ".\r\nDocumenti rimasti da convertire: " + std::to_string(left) + ".";
    if (notStarted > 0) text += "\r\nArchivi non ancora elaborati: " + std::to_string(notStarted) + ".";
    dialogs_.message(Message{text, kCaption, Buttons::Ok, Icon::Information});
}

void frmTiff::setRunning(bool on) {
    cmdTiff_->setEnabled(!on);
    cmdExit_->setEnabled(!on);
    grdList_->setEnabled(!on);
    for (int i = 1; i <= checks_->loadedBoxes(); ++i)
        if (QWidget* box = checks_->box(i)) box->setEnabled(!on);
    cmdAnnulla_->setEnabled(on);
    cmdAnnulla_->setVisible(on);
    if (on)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmTiff::closeEvent(QCloseEvent* e) {
    // The run writes the archive records as documents finish: the window stays until
    // it has ended ("Annulla" ends it sooner).
    if (converting()) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void frmTiff::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    DispchkS();
}

bool frmTiff::eventFilter(QObject* watched, QEvent* e) {
    // The grid's viewport is sized last (on first show, well after the form): the
    // descriptions take its free width then, and the ticks follow.
    if (watched == grdList_->viewport() && e->type() == QEvent::Resize) {
        fitFillColumn(*clsList_, ColDescription, kDescriptionWidth);
        DispchkS();
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace zq
