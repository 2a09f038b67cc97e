#pragma once
// frmGrup, "Duplicazione AREE" opened from "&Raggruppamento Aree": the records and
// documents of the archives of the ticked areas gathered into the company's grouping
// archive. The run is GroupRun's; the wait window shows the file being copied.

#include "duplication/copy_row.h"
#include "duplication/group_run.h"
#include "linking/forms/listform.h"

#include <memory>
#include <vector>

class QPushButton;

namespace zq {

class CheckColumn;

class frmGrup : public ListForm {
    Q_OBJECT

public:
    /// "     |  ID  |<Descrizione| "
    static const char* const kFormat;
    enum Column { ColId = 1, ColDescription = 2, ColCheck = 3 };

    /// Lists the companies and every area. `wait` shows the wait window (nullptr: the
    /// program's own).
    explicit frmGrup(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmGrup() override;

    const std::vector<GrupRow>& entries() const { return entries_; }
    QPushButton* cmdGrup() const { return cmdGrup_; }
    CheckColumn& checks() const { return *checks_; }
    /// What the last run reported.
    const GroupResult& lastResult() const { return last_; }

    /// "&Raggruppa" is usable only with the grouping parameters set; says so otherwise.
    void Form_Activate();
    /// Every area, none ticked.
    void LeggList() override;
    void DispchkS();
    /// A pick on the company picker.
    void cmbFlds_Click(int index);
    void cmdGrup_Click();

protected:
    void placeRowControls() override { DispchkS(); }
    void showEvent(QShowEvent* e) override;

private:
    std::unique_ptr<Progress> ownWait_;
    Progress* wait_ = nullptr;
    std::vector<GrupRow> entries_;
    QPushButton* cmdGrup_ = nullptr;
    std::unique_ptr<CheckColumn> checks_;
    GroupResult last_;
    bool activated_ = false;
};

}  // namespace zq
