#include "app/gui/run_log_window.h"

#include "journal/run_log.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace zq {
namespace {

const char* kCaption = "Registro operazioni";

// The window names each operation as its menu entry does; zelq log keeps the command
// names, which scripts match.
QString operationCaption(const std::string& operation) {
    static const std::map<std::string, const char*> captions{
        {"link", "Collegamento Tabelle a TARV"},       {"dav", "Collegamento Tabelle DAV"},
        {"unlink", "Scollegamento Tabelle da TARV"},   {"premaster", "Pre-Masterizzazione Archivi"},
        {"convert", "Conversione da PDF a TIF"},       {"duplicate-area", "Duplicazione Aree"},
        {"duplicate-year", "Duplicazione Annualità"},  {"group", "Raggruppamento Aree"},
        {"relink", "Aggiorna Collegamento"},           {"check-repair", "Riparazione archivi"}};
    const auto it = captions.find(operation);
    return QString::fromUtf8(it != captions.end() ? it->second : operation.c_str());
}

constexpr int kOperationColumn = 5;

QTableWidget* tableOf(const std::vector<RunLog::Entry>& entries, QWidget* parent) {
    const auto& columns = RunLog::columns();
    auto* table = new QTableWidget(static_cast<int>(entries.size()), static_cast<int>(columns.size()), parent);
    table->setObjectName(QStringLiteral("grdLog"));
    QStringList headings;
    for (const auto& c : columns) headings << QString::fromStdString(c);
    table->setHorizontalHeaderLabels(headings);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setVisible(false);
    // Newest first: the operator opens the log to see what just happened.
    int row = 0;
    for (auto e = entries.rbegin(); e != entries.rend(); ++e, ++row) {
        const auto cells = e->cells();
        for (std::size_t c = 0; c < cells.size(); ++c)
            table->setItem(row, static_cast<int>(c), new QTableWidgetItem(QString::fromStdString(cells[c])));
        table->item(row, kOperationColumn)->setText(operationCaption(e->operation));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace

void showRunLog(QWidget* parent, const std::string& archivePath) {
    std::vector<RunLog::Entry> entries;
    try {
        entries = RunLog::read(archivePath);
    } catch (const std::exception&) {
        QMessageBox::warning(parent, QString::fromUtf8(kCaption),
                             QStringLiteral("Impossibile leggere il registro dal database degli archivi:\n%1")
                                 .arg(QString::fromStdString(archivePath)));
        return;
    }
    QDialog window(parent);
    window.setObjectName(QStringLiteral("frmLog"));
    window.setWindowTitle(QString::fromUtf8(kCaption));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(entries.empty() ? QStringLiteral("Nessuna operazione registrata.")
                                                 : QStringLiteral("Operazioni registrate: %1").arg(entries.size()),
                                 &window));
    QTableWidget* table = tableOf(entries, &window);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(&window);
    buttons->addButton(QStringLiteral("&Chiudi"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QDialog::reject);
    layout->addWidget(buttons);
    // Every column in sight where the screen allows it.
    const int wanted = table->horizontalHeader()->length() + table->verticalScrollBar()->sizeHint().width() + 40;
    const QRect screen = parent && parent->screen() ? parent->screen()->availableGeometry() : QRect(0, 0, 1280, 900);
    window.resize(std::min(wanted, screen.width() - 40), std::min(480, screen.height() - 40));
    window.exec();
}

}  // namespace zq
