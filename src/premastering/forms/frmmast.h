#pragma once
// frmMast, "Pre-Masterizzazione Archivi": lists the linked archives with a registry
// row (at once, for every company), the operator ticks some and presses
// "&Masterizza"; PremasterRun copies their TARV rows back into the local tables.

#include "linking/archive_model.h"
#include "linking/forms/listform.h"
#include "linking/link_entries.h"

#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zq {

class BarProgress;
class CheckColumn;

class frmMast : public ListForm {
    Q_OBJECT

public:
    /// The unlink list's format with a wider document-type column.
    static const char* const kFormat;
    enum Column { ColNumber = 1, ColArea, ColDescription, ColCompany, ColYear, ColAssoc, ColDocType, ColCheck };

    /// Fills the pickers and loads the list for every company.
    explicit frmMast(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmMast() override;

    const std::vector<FreeRow>& entries() const { return entries_; }
    QPushButton* cmdMast() const { return cmdMast_; }
    QProgressBar* prbMast() const { return prbMast_; }
    QLabel* lblMast() const { return lblMast_; }
    CheckColumn& checks() const { return *checks_; }

    void LeggList();
    void DispchkS();
    void cmdMast_Click();
    void cmbFlds_Click(int index);

protected:
    void placeRowControls() override { DispchkS(); }

private:
    std::vector<FreeRow> entries_;
    ArchiveModel model_;
    QPushButton* cmdMast_ = nullptr;
    QProgressBar* prbMast_ = nullptr;
    QLabel* lblMast_ = nullptr;
    std::unique_ptr<BarProgress> progress_;
    std::unique_ptr<CheckColumn> checks_;
};

}  // namespace zq
