#pragma once
// Dialogs for the windowed program: Italian message boxes with the original's buttons
// and icons, the folder picker and the "Apri" file dialog.

#include "common/dialogs.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QMessageBox;

namespace zq {

class QtDialogs : public Dialogs {
public:
    /// `owner` parents the dialogs, unless a modal window is open: that one does.
    /// Without an owner the active window does.
    explicit QtDialogs(QWidget* owner = nullptr);

    Answer message(const Message& m) override;
    std::optional<std::string> pickFolder(const std::string& title,
                                          const std::string& startFolder) override;
    std::optional<std::string> pickFile(const std::string& title, const std::string& filter,
                                        const std::string& startPath) override;
    void yield() override;
    void beep() override;

    void setOwner(QWidget* owner) { owner_ = owner; }

    /// The Italian caption of a button: "OK", "Annulla", "Interrompi", "Riprova",
    /// "Ignora", "Sì", "No".
    static QString buttonText(Answer a);
    /// The box `message` shows, ready to exec(); exposed so tests can inspect it.
    static QMessageBox* createBox(const Message& m, QWidget* owner);

private:
    QWidget* ownerNow() const;
    QPointer<QWidget> owner_;
};

}  // namespace zq
