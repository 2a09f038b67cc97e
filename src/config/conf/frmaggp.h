#pragma once
// frmAggP, "Aggiornamento Percorso": shows the current TARV server values, takes new
// ones and has LinkPathUpdate move every link to them. Shown modally from "&Aggiorna
// Collegamento"; accept() once the update reached its closing message.

#include "config/barprogress.h"
#include "config/conf/link_path_update.h"

#include <QDialog>
#include <QList>
#include <QMap>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zq {

class OptionFrame;
class Session;
class txtFrmt;

class frmAggP : public QDialog {
    Q_OBJECT

public:
    /// `opener` opens the archive database for the update (tests make it fail).
    explicit frmAggP(Session& session, LinkPathUpdate::Opener opener = {}, QWidget* parent = nullptr);
    ~frmAggP() override;

    /// The confirmation flag: true once an update reached its closing message.
    bool Confermato = false;

    /// Current values: 0 PathTarv, 1 Utente, 3 Host, 4 Server (2, the password, is none).
    QLabel* lblFlds(int i) const { return lblFlds_.value(i); }
    /// New values: 0 path, 1 login, 2 password, 3 confirmation, 4 host.
    txtFrmt* txtFlds(int i) const { return txtFlds_.at(i); }
    OptionFrame* fmeFlds(int i) const { return fmeFlds_.at(i); }
    QRadioButton* optFlds(int i) const { return optFlds_.at(i); }
    QPushButton* cmdConf() const { return cmdConf_; }
    QPushButton* cmdAnnu() const { return cmdAnnu_; }
    QProgressBar* prbAggP() const { return prbAggP_; }
    QLabel* lblAggP() const { return lblAggP_; }
    LinkPathUpdate& engine() { return update_; }

    /// Reads the configuration file and shows its values; false (and the form hides)
    /// when there is none.
    bool Form_Activate();
    /// The check of field 0 as it is left: false (after the message) keeps the focus.
    bool txtFlds_Validate(int index);
    /// "&Aggiorna": runs the update; accept() once it reached its closing message,
    /// reject() when the person declined the list, open otherwise.
    void cmdConf_Click();
    /// "Ann&ulla": the flag false, reject().
    void cmdAnnu_Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void createControls();

    Session& session_;
    std::unique_ptr<BarProgress> progress_;
    LinkPathUpdate update_;
    QMap<int, QLabel*> lblFlds_;
    QList<txtFrmt*> txtFlds_;
    QList<OptionFrame*> fmeFlds_;
    QList<QRadioButton*> optFlds_;
    QPushButton* cmdConf_ = nullptr;
    QPushButton* cmdAnnu_ = nullptr;
    QProgressBar* prbAggP_ = nullptr;
    QLabel* lblAggP_ = nullptr;
    bool activated_ = false;
};

}  // namespace zq
