#pragma once
// frmColl, "Collegamento tabelle al database TARV": the operator picks a company, a
// year and optionally an area, ticks archives, chooses for each its association type
// ("M" or "A") and, for "M", its document type, and presses "&Collega". The link run
// itself is LinkRun's; the form fills the pickers and the list, keeps the per-row
// controls over the visible rows and reloads the list after a run.

#include "linking/forms/archlistform.h"
#include "listctl/overlay_column.h"

#include <memory>

class QComboBox;
class QPushButton;

namespace zq {

class CheckColumn;
class optSiNo;

class frmColl : public ArchListForm {
    Q_OBJECT

public:
    /// "     |     |  N.  |<Area|<Descrizione|Tipo Assoc.|Tipo Doc.|       "
    static const char* const kFormat;
    /// Grid columns of the per-row controls, after those of the list.
    enum Column { ColAssoc = 5, ColDocType = 6, ColCheck = 7 };

    /// Loads the document types, the areas (which loads the list) and the companies.
    explicit frmColl(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmColl() override;

    QPushButton* cmdColl() const { return cmdColl_; }
    CheckColumn& checks() const { return *checks_; }
    /// Per-row controls of visible row i (1-based), nullptr when not created yet.
    optSiNo* optTAss(int i) const;
    QComboBox* cmbTDoc(int i) const;

    /// Places the check boxes, options, document-type pickers and pictures.
    void DispCtrl();
    /// False, after its message, when two ticked entries have the same parameters.
    bool CtrlParm();

    void cmdColl_Click();
    /// A pick on cmbFlds(index).
    void cmbFlds_Click(int index);
    /// The association option of visible row i changed.
    void optTAss_Change(int i);
    /// The document-type picker of visible row i changed.
    void cmbTDoc_Click(int i);

protected:
    void placeRowControls() override { DispCtrl(); }

private:
    QWidget* makeOption(int i);
    QWidget* makeDocPicker(int i);
    ArchRow* entryOfRow(int i);
    void placeRowExtras();
    /// Widens the document-type pickers and their column to the longest description.
    void fitDocPickers();

    QPushButton* cmdColl_ = nullptr;
    int optionPx_ = 0;     ///< width of the association-type options, in pixels
    int docPickerPx_ = 0;  ///< width of the document-type pickers, in pixels
    std::unique_ptr<CheckColumn> checks_;
    std::unique_ptr<OverlayColumn> optTAss_, cmbTDoc_;
};

}  // namespace zq
