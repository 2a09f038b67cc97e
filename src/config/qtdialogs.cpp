#include "config/qtdialogs.h"

#include "common/product.h"
#include "config/filedialog.h"
#include "config/sceltadir.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

#include <memory>
#include <vector>

namespace zq {
namespace {

std::vector<Answer> answersOf(Buttons b) {
    switch (b) {
    case Buttons::Ok: return {Answer::Ok};
    case Buttons::OkCancel: return {Answer::Ok, Answer::Cancel};
    case Buttons::AbortRetryIgnore: return {Answer::Abort, Answer::Retry, Answer::Ignore};
    case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
    case Buttons::YesNo: return {Answer::Yes, Answer::No};
    case Buttons::RetryCancel: return {Answer::Retry, Answer::Cancel};
    }
    return {Answer::Ok};
}

QMessageBox::ButtonRole roleOf(Answer a) {
    switch (a) {
    case Answer::Ok: return QMessageBox::AcceptRole;
    case Answer::Cancel: return QMessageBox::RejectRole;
    case Answer::Abort: return QMessageBox::RejectRole;
    case Answer::Retry: return QMessageBox::AcceptRole;
    case Answer::Ignore: return QMessageBox::AcceptRole;
    case Answer::Yes: return QMessageBox::YesRole;
    case Answer::No: return QMessageBox::NoRole;
    }
    return QMessageBox::AcceptRole;
}

QMessageBox::Icon iconOf(Icon i) {
    switch (i) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Windows closes a box by Escape or its close box only when it has a Cancel button,
// or when OK is the only button.
std::optional<Answer> escapeAnswer(Buttons b) {
    switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel: return Answer::Cancel;
    default: return std::nullopt;
    }
}

}  // namespace

QtDialogs::QtDialogs(QWidget* owner) : owner_(owner) {}

QWidget* QtDialogs::ownerNow() const {
    // A modal form open over the owner ("Configurazione", "Aggiorna Collegamento")
    // owns what it asks: a box owned by the main window would bring that window above
    // the form.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (owner_)
        return owner_;
    return QApplication::activeWindow();
}

QString QtDialogs::buttonText(Answer a) {
    switch (a) {
    case Answer::Ok: return QStringLiteral("OK");
    case Answer::Cancel: return QStringLiteral("Annulla");
    case Answer::Abort: return QStringLiteral("Interrompi");
    case Answer::Retry: return QStringLiteral("Riprova");
    case Answer::Ignore: return QStringLiteral("Ignora");
    case Answer::Yes: return QStringLiteral("Sì");
    case Answer::No: return QStringLiteral("No");
    }
    return {};
}

QMessageBox* QtDialogs::createBox(const Message& m, QWidget* owner) {
    auto* box = new QMessageBox(owner);
    const QString title = QString::fromStdString(m.title);
    box->setWindowTitle(title.isEmpty() ? QString::fromUtf8(kAppTitle) : title);
    // The texts are built with CR LF; Qt breaks lines at LF alone.
    QString text = QString::fromStdString(m.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setIcon(iconOf(m.icon));
    bool first = true;
    for (Answer a : answersOf(m.buttons)) {
        QPushButton* b = box->addButton(buttonText(a), roleOf(a));
        b->setProperty("answer", int(a));
        if (first)
            box->setDefaultButton(b);  // the first button is the default, as on Windows
        first = false;
        if (escapeAnswer(m.buttons) == a)
            box->setEscapeButton(b);
    }
    return box;
}

Answer QtDialogs::message(const Message& m) {
    std::unique_ptr<QMessageBox> box(createBox(m, ownerNow()));
    box->exec();
    if (QAbstractButton* clicked = box->clickedButton(); clicked && clicked->property("answer").isValid())
        return static_cast<Answer>(clicked->property("answer").toInt());
    // Closed without a button (only possible where an escape answer exists, or when the
    // application quits under it): the escape answer, else the last button.
    if (auto esc = escapeAnswer(m.buttons))
        return *esc;
    return answersOf(m.buttons).back();
}

std::optional<std::string> QtDialogs::pickFolder(const std::string& title,
                                                 const std::string& startFolder) {
    const QString dir = SceltaDir(ownerNow(), QString::fromStdString(title),
                                  QString::fromStdString(startFolder));
    if (dir.isEmpty())
        return std::nullopt;
    return dir.toStdString();
}

std::optional<std::string> QtDialogs::pickFile(const std::string& title, const std::string& filter,
                                               const std::string& startPath) {
    FileDialog dlg;
    dlg.setTitle(QString::fromStdString(title));
    dlg.setFilters(FileDialog::parseFilter(QString::fromStdString(filter)));
    dlg.setStartPath(QString::fromStdString(startPath));
    dlg.setOpenCaption(QStringLiteral("Apri"));
    dlg.setCancelCaption(QStringLiteral("Annulla"));
    dlg.setLookInCaption(QStringLiteral("Cerca in:"));
    dlg.setFileNameCaption(QStringLiteral("Nome File:"));
    dlg.setFileTypeCaption(QStringLiteral("Tipo File:"));
    const QString chosen = dlg.exec(ownerNow());
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.toStdString();
}

void QtDialogs::yield() { QCoreApplication::processEvents(); }

void QtDialogs::beep() { QApplication::beep(); }

}  // namespace zq
