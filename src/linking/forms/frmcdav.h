#pragma once
// frmCDAV, "Collegamento tabelle DAV": one archive at a time becomes a company's DAV
// table. The operator picks a company and optionally an area, chooses one archive with
// the option button of its row and presses "&Collega"; DavRun does the rest.

#include "linking/forms/archlistform.h"
#include "listctl/overlay_column.h"

#include <memory>

class QPushButton;
class QRadioButton;

namespace zq {

class frmCDAV : public ArchListForm {
    Q_OBJECT

public:
    /// "     |     |  N.  |<Area|<Descrizione|       "
    static const char* const kFormat;
    enum Column { ColOption = 5 };

    explicit frmCDAV(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmCDAV() override;

    /// The chosen entry (1-based), −1 when none.
    int chosen() const { return chosen_; }
    QPushButton* cmdColl() const { return cmdColl_; }
    QRadioButton* optList(int i) const;

    /// Reloads the list; no entry is chosen any more.
    void LeggList() override;
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
    int chosen_ = -1;
    QPushButton* cmdColl_ = nullptr;
    std::unique_ptr<OverlayColumn> optList_;
};

}  // namespace zq
