#pragma once
// frmMast, "Pre-Masterizzazione Archivi": lists the linked archives with a registry
// row (at once, for every company), the operator ticks some and presses
// "&Masterizza"; PremasterRun copies their TARV rows back into the local tables.

#include "linking/forms/freelistform.h"

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zq {

class BarProgress;

class frmMast : public FreeListForm {
    Q_OBJECT

public:
    /// The unlink list's format with a wider document-type column.
    static const char* const kFormat;

    /// Fills the pickers and loads the list for every company.
    explicit frmMast(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmMast() override;

    QPushButton* cmdMast() const { return cmdMast_; }
    QProgressBar* prbMast() const { return prbMast_; }
    QLabel* lblMast() const { return lblMast_; }

    void cmdMast_Click();

private:
    QPushButton* cmdMast_ = nullptr;
    QProgressBar* prbMast_ = nullptr;
    QLabel* lblMast_ = nullptr;
    std::unique_ptr<BarProgress> progress_;
};

}  // namespace zq
