#pragma once
// frmConf, "Parametri di Configurazione": edits the configuration values, proposes the
// defaults, tests a connection with the entered values and, when it succeeds, stores
// them in the session and writes the configuration file. Shown modally at first start
// and from "&Configurazione"; the caller reads Confermato (accept() when confirmed).

#include "config/conf/config_editor.h"

#include <QDialog>
#include <QList>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zq {

class OptionFrame;
class Session;
class txtFrmt;

class frmConf : public QDialog {
    Q_OBJECT

public:
    /// Loads at once: the defaults, the file read over them, the fields filled.
    explicit frmConf(Session& session, QWidget* parent = nullptr);

    /// "Parametri di Configurazione".
    static QString caption();

    /// True after a confirmation: values stored, file written.
    bool Confermato = false;

    /// The ten text boxes, by index as in the table of fields.
    txtFrmt* txtFlds(int i) const { return txtFlds_.at(i); }
    QLabel* lblFlds(int i) const { return lblFlds_.at(i); }
    /// 0 "SO Server", 1 "Conversione Backslash (\)".
    OptionFrame* fmeFlds(int i) const { return fmeFlds_.at(i); }
    /// 0 "SCO", 1 "LINUX", 2 "Si", 3 "No".
    QRadioButton* optFlds(int i) const { return optFlds_.at(i); }
    QPushButton* cmdConf() const { return cmdConf_; }
    QPushButton* cmdAnnu() const { return cmdAnnu_; }
    QPushButton* cmdExplore() const { return cmdExplore_; }
    QLabel* lblHelp() const { return lblHelp_; }

    /// The check of field 0 as it is left: false (after the message) keeps the focus.
    bool txtFlds_Validate(int index);
    /// "Con&ferma": checks, connection test, values stored and file written, accept().
    void cmdConf_Click();
    /// "Ann&ulla": Confermato false, reject().
    void cmdAnnu_Click();
    /// The "Apri" dialog for the archive database; a cancel leaves field 1 as it is.
    void cmdExplore_Click();

    /// The values as entered (fields and frames).
    Config entered() const;

private:
    void createControls();
    void showValues(const Config& c);

    Session& session_;
    ConfigEditor editor_;
    QList<txtFrmt*> txtFlds_;
    QList<QLabel*> lblFlds_;
    QList<OptionFrame*> fmeFlds_;
    QList<QRadioButton*> optFlds_;
    QPushButton* cmdConf_ = nullptr;
    QPushButton* cmdAnnu_ = nullptr;
    QPushButton* cmdExplore_ = nullptr;
    QFrame* picCNTR_ = nullptr;
    QLabel* lblHelp_ = nullptr;
};

}  // namespace zq
