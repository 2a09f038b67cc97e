#pragma once
// frmCGru, "Parametri Raggruppamento Aree": the area into which areas are grouped and
// the folder under which grouping archives are made, stored as the configuration's
// grouping parameters by GroupParams. Shown modally from "&Raggruppamento Aree" under
// "&Imposta"; accept() once the file was written.

#include "app/session.h"
#include "linking/forms/combopicker.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPushButton;

namespace zq {

class txtFrmt;

class frmCGru : public QDialog {
    Q_OBJECT

public:
    /// Loads the configuration file over the defaults, the areas and the stored choice.
    explicit frmCGru(Session& session, QWidget* parent = nullptr);
    ~frmCGru() override;

    /// The confirmation flag: true once the parameters were written.
    bool Confermato = false;

    /// cmbFlds(0): the areas, ItemData = Id_Area.
    QComboBox* cmbFlds(int i) const { return i == 0 ? cmbArea_ : nullptr; }
    /// txtFlds(0): the folder.
    txtFrmt* txtFlds(int i) const { return i == 0 ? txtPath_ : nullptr; }
    QPushButton* cmdExplore() const { return cmdExplore_; }
    QPushButton* cmdConf() const { return cmdConf_; }
    QPushButton* cmdAnnu() const { return cmdAnnu_; }
    /// The configuration values as the form read them (and, after Con&ferma, wrote them).
    const Config& values() const { return cfg_; }

    void cmdExplore_Click();
    void cmdConf_Click();
    void cmdAnnu_Click();

private:
    void createControls();
    void Form_Load();

    Session& session_;
    Config cfg_;
    QComboBox* cmbArea_ = nullptr;
    std::unique_ptr<ComboPicker> area_;
    txtFrmt* txtPath_ = nullptr;
    QPushButton* cmdExplore_ = nullptr;
    QPushButton* cmdConf_ = nullptr;
    QPushButton* cmdAnnu_ = nullptr;
    QLabel* lblHelp_ = nullptr;
};

}  // namespace zq
