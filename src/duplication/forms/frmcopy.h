#pragma once
// frmCopy, "Duplicazione AREE": a new area with empty copies of the ticked archives of
// a source area. The names in the list's "Descrizione" column can be edited in place
// (a "TXT" editor of the list); the name a row shows when "&Duplica" is pressed is the
// name of its copy. The run is AreaCopyRun's.

#include "duplication/area_copy_run.h"
#include "duplication/copy_row.h"
#include "linking/archive_model.h"
#include "linking/forms/listform.h"
#include "listctl/overlay_column.h"

#include <memory>
#include <vector>

class QLabel;
class QPushButton;

namespace zq {

class CheckColumn;
class txtFrmt;

class frmCopy : public ListForm {
    Q_OBJECT

public:
    /// "     |     |  N.  |<Descrizione| "
    static const char* const kFormat;
    enum Column { ColPicture = 1, ColNumber = 2, ColDescription = 3, ColCheck = 4 };

    /// Fills the area pickers and the companies; the list stays empty until an area is picked.
    explicit frmCopy(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmCopy() override;

    /// The list entries, entry n at index n − 1.
    const std::vector<CopyRow>& entries() const { return entries_; }
    /// 0 the new area's name, 1 the folder under which its folder is made.
    txtFrmt* txtFlds(int i) const { return i == 0 ? txtName_ : i == 1 ? txtPath_ : nullptr; }
    /// The in-place editor of the names.
    txtFrmt* txtList() const { return txtList_; }
    QPushButton* cmdCopy() const { return cmdCopy_; }
    QPushButton* cmdExplore() const { return cmdExplore_; }
    CheckColumn& checks() const { return *checks_; }
    /// Link picture of visible row i (1-based), nullptr when not created yet.
    QLabel* picColl(int i) const;
    /// What the last run reported.
    const AreaCopyResult& lastResult() const { return last_; }

    /// Reloads the list for the source area picked in cmbFlds(2).
    void LeggList() override;
    /// Places the check boxes and the link pictures over the visible rows.
    void DispchkS();
    /// Opens the name editor over the current cell (a key, or 32 for a double click).
    void EditList(int KeyAscii);
    /// Writes an open editor into its cell and takes every row's name into its entry.
    void AggiList();
    /// A pick on cmbFlds(index).
    void cmbFlds_Click(int index);
    void cmdExplore_Click();
    void cmdCopy_Click();

protected:
    void placeRowControls() override { DispchkS(); }

private:
    void createFields();
    void fillAreas();

    std::vector<CopyRow> entries_;
    ArchiveModel model_;
    txtFrmt* txtName_ = nullptr;
    txtFrmt* txtPath_ = nullptr;
    txtFrmt* txtList_ = nullptr;
    QPushButton* cmdExplore_ = nullptr;
    QPushButton* cmdCopy_ = nullptr;
    std::unique_ptr<CheckColumn> checks_;
    std::unique_ptr<OverlayColumn> picColl_;
    AreaCopyResult last_;
};

}  // namespace zq
