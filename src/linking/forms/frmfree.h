#pragma once
// frmFree, "Scollegamento tabelle al database TARV": lists every archive that is a
// link and has a registry row, narrowed by company and year; the operator ticks
// archives (or the rows on screen with "Seleziona Tutti") and presses "&Scollega";
// FreeRun unlinks them.

#include "linking/archive_model.h"
#include "linking/forms/listform.h"
#include "linking/link_entries.h"

#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;

namespace zq {

class CheckColumn;

class frmFree : public ListForm {
    Q_OBJECT

public:
    /// "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento|       "
    static const char* const kFormat;
    enum Column { ColNumber = 1, ColArea, ColDescription, ColCompany, ColYear, ColAssoc, ColDocType, ColCheck };

    /// The list stays empty until a picker is chosen.
    explicit frmFree(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmFree() override;

    const std::vector<FreeRow>& entries() const { return entries_; }
    QPushButton* cmdFree() const { return cmdFree_; }
    QCheckBox* chk_All() const { return chk_All_; }
    CheckColumn& checks() const { return *checks_; }

    void LeggList();
    void DispchkS();
    void cmdFree_Click();
    /// Ticks or clears the boxes of the rows on screen, as chk_All is.
    void chk_All_Click();
    void cmbFlds_Click(int index);

protected:
    void placeRowControls() override { DispchkS(); }

private:
    std::vector<FreeRow> entries_;
    ArchiveModel model_;
    bool ready_ = false;  ///< the pickers are filled; picks load the list
    QPushButton* cmdFree_ = nullptr;
    QCheckBox* chk_All_ = nullptr;
    std::unique_ptr<CheckColumn> checks_;
};

}  // namespace zq
