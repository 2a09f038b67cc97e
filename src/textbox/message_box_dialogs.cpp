#include "textbox/message_box_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <vector>

namespace zq {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonSpec {
    const char* text;
    QMessageBox::ButtonRole role;
    Answer answer;
};

std::vector<ButtonSpec> buttonsOf(Buttons b) {
    switch (b) {
    case Buttons::Ok: return {{"OK", QMessageBox::AcceptRole, Answer::Ok}};
    case Buttons::OkCancel:
        return {{"OK", QMessageBox::AcceptRole, Answer::Ok}, {"Annulla", QMessageBox::RejectRole, Answer::Cancel}};
    case Buttons::AbortRetryIgnore:
        return {{"&Interrompi", QMessageBox::RejectRole, Answer::Abort},
                {"&Riprova", QMessageBox::AcceptRole, Answer::Retry},
                {"&Ignora", QMessageBox::ActionRole, Answer::Ignore}};
    case Buttons::YesNoCancel:
        return {{"&Sì", QMessageBox::YesRole, Answer::Yes},
                {"&No", QMessageBox::NoRole, Answer::No},
                {"Annulla", QMessageBox::RejectRole, Answer::Cancel}};
    case Buttons::YesNo:
        return {{"&Sì", QMessageBox::YesRole, Answer::Yes}, {"&No", QMessageBox::NoRole, Answer::No}};
    case Buttons::RetryCancel:
        return {{"&Riprova", QMessageBox::AcceptRole, Answer::Retry},
                {"Annulla", QMessageBox::RejectRole, Answer::Cancel}};
    }
    return {{"OK", QMessageBox::AcceptRole, Answer::Ok}};
}

}  // namespace

Answer MessageBoxDialogs::message(const Message& m) {
    QMessageBox box(qtIcon(m.icon),
                    m.title.empty() ? QApplication::applicationDisplayName() : QString::fromStdString(m.title),
                    QString::fromStdString(m.text), QMessageBox::NoButton, QApplication::activeWindow());
    const auto specs = buttonsOf(m.buttons);
    std::vector<QAbstractButton*> made;
    for (const auto& s : specs) made.push_back(box.addButton(QString::fromUtf8(s.text), s.role));
    box.setDefaultButton(static_cast<QPushButton*>(made.front()));
    box.exec();
    for (std::size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i]) return specs[i].answer;
    // Closed with Escape or the window's close box: the cancelling answer, when there is one.
    for (const auto& s : specs)
        if (s.role == QMessageBox::RejectRole) return s.answer;
    return specs.front().answer;
}

std::optional<std::string> MessageBoxDialogs::pickFolder(const std::string& title, const std::string& startFolder) {
    const QString dir = QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString::fromStdString(title),
                                                          QString::fromStdString(startFolder));
    if (dir.isEmpty()) return std::nullopt;
    return dir.toStdString();
}

std::optional<std::string> MessageBoxDialogs::pickFile(const std::string& title, const std::string& filter,
                                                       const std::string& startPath) {
    // "Database (*.mdb)|*.mdb" -> "Database (*.mdb)": Qt reads the patterns from the label.
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList labels;
    for (int i = 0; i < parts.size(); i += 2) labels << parts[i];
    const QString file = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                                      QString::fromStdString(startPath), labels.join(";;"));
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}

void MessageBoxDialogs::beep() { QApplication::beep(); }

}  // namespace zq
