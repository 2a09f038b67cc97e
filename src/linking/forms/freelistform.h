#pragma once
// What the unlink and pre-mastering forms share: the company and year pickers, the list
// of the linked archives that have a registry row, narrowed by those pickers, and a
// check box a row. Each form adds its own bar controls and button and says how its
// list is read.

#include "linking/archive_model.h"
#include "linking/forms/listform.h"
#include "linking/link_entries.h"
#include "linking/link_list.h"

#include <memory>
#include <vector>

namespace zq {

class FreeListForm : public ListForm {
    Q_OBJECT

public:
    enum Column { ColNumber = 1, ColArea, ColDescription, ColCompany, ColYear, ColAssoc, ColDocType, ColCheck };

    ~FreeListForm() override;

    const std::vector<FreeRow>& entries() const { return entries_; }
    CheckColumn& checks() const { return *checks_; }

    /// Reloads the list for the company and year picked (none picked: all of them).
    void LeggList() override;
    void DispchkS();
    /// A pick on cmbFlds(index): a company lists all its years; either reloads the list.
    void cmbFlds_Click(int index);

protected:
    using Reader = std::vector<FreeRow> (*)(Session&, ArchiveModel&, const FreeFilter&,
                                            const std::vector<Lookups::TipoDoc>&);

    /// Adds the "DITTA:" and "ANNO:" pickers; `read` reads the list.
    FreeListForm(Session& session, Progress* wait, const char* name, const char* caption, Reader read,
                 QWidget* parent);
    /// Binds the grid with `format` and lays the check boxes over it, then fills the
    /// document types and the company picker (with every company).
    void initFreeList(const char* format);

    void placeRowControls() override { DispchkS(); }

    std::vector<FreeRow> entries_;

private:
    Reader read_;
    ArchiveModel model_;
    std::unique_ptr<CheckColumn> checks_;
};

}  // namespace zq
