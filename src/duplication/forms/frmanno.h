#pragma once
// frmAnno, "Duplicazione ANNUALITA'": a new year area under a chosen parent, one new
// area per child area of the source year area and, in each, empty copies of that area's
// archives. The run is YearCopyRun's; the form fills the pickers, hands over the picked
// values and shows the run's progress on its three labels.

#include "app/session.h"
#include "duplication/forms/elabprogress.h"
#include "duplication/year_copy_run.h"
#include "linking/forms/combopicker.h"

#include <QWidget>

#include <map>
#include <memory>

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace zq {

class txtFrmt;

class frmAnno : public QWidget {
    Q_OBJECT

public:
    /// Fills the source and parent pickers; the TARV year shows the login year.
    explicit frmAnno(Session& session, QWidget* parent = nullptr);
    ~frmAnno() override;

    /// 0 the child areas, 1 the TARV year, 2 the source year area, 3 the parent area.
    QComboBox* cmbFlds(int i) const;
    /// 0 the new year's name, 1 the folder under which its folder is made.
    txtFrmt* txtFlds(int i) const { return i == 0 ? txtName_ : i == 1 ? txtPath_ : nullptr; }
    QLabel* lblElab(int i) const { return i >= 0 && i < 3 ? lblElab_[i] : nullptr; }
    QPushButton* cmdExplore() const { return cmdExplore_; }
    QPushButton* cmdCopy() const { return cmdCopy_; }
    QPushButton* cmdExit() const { return cmdExit_; }
    /// What the last run reported.
    const YearCopyResult& lastResult() const { return last_; }
    /// The progress shown on the labels (tests watch it).
    ElabProgress& progress() { return *progress_; }

    /// A pick on cmbFlds(index).
    void cmbFlds_Click(int index);
    void cmdExplore_Click();
    void cmdCopy_Click();

private:
    void createControls();
    QComboBox* addPicker(QGridLayout* grid, int row, int index, const char* label);
    void fillAreas();

    Session& session_;
    std::map<int, QComboBox*> cmbFlds_;
    std::map<int, std::unique_ptr<ComboPicker>> pickers_;
    txtFrmt* txtName_ = nullptr;
    txtFrmt* txtPath_ = nullptr;
    QLabel* lblElab_[3] = {};
    QPushButton* cmdExplore_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    std::unique_ptr<ElabProgress> progress_;
    YearCopyResult last_;
};

}  // namespace zq
