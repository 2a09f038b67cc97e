#pragma once
// frmCDAV, "Collegamento tabelle DAV": one archive at a time becomes a company's DAV
// table. The operator picks a company and optionally an area, chooses one archive with
// the option button of its row and presses "&Collega"; DavRun does the rest.

#include "linking/archive_model.h"
#include "linking/forms/listform.h"
#include "linking/link_entries.h"
#include "listctl/overlay_column.h"

#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zq {

class frmCDAV : public ListForm {
    Q_OBJECT

public:
    /// "     |     |  N.  |<Area|<Descrizione|       "
    static const char* const kFormat;
    enum Column { ColPicture = 1, ColNumber = 2, ColArea = 3, ColDescription = 4, ColOption = 5 };

    explicit frmCDAV(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmCDAV() override;

    const std::vector<ArchRow>& entries() const { return entries_; }
    /// The chosen entry (1-based), −1 when none.
    int chosen() const { return chosen_; }
    QPushButton* cmdColl() const { return cmdColl_; }
    QRadioButton* optList(int i) const;
    QLabel* picColl(int i) const;

    void LeggList();
    void DispCtrl();
    void cmdColl_Click();
    void cmbFlds_Click(int index);
    /// The option button of visible row i was picked.
    void optList_Click(int i);
    /// A click on the grid picks the option of its row.
    void grdList_Click();

protected:
    void placeRowControls() override { DispCtrl(); }

private:
    std::vector<ArchRow> entries_;
    int chosen_ = -1;
    ArchiveModel model_;
    QPushButton* cmdColl_ = nullptr;
    std::unique_ptr<OverlayColumn> optList_, picColl_;
};

}  // namespace zq
