#pragma once
// What the link and DAV-link forms share: the company and area pickers and the list of
// the archives of the area picked, with the picture that marks those already linked.

#include "linking/archive_model.h"
#include "linking/forms/listform.h"
#include "linking/link_entries.h"
#include "listctl/overlay_column.h"

#include <memory>
#include <vector>

class QLabel;

namespace zq {

class ArchListForm : public ListForm {
    Q_OBJECT

public:
    /// Grid columns of the list; the forms add theirs after these.
    enum ListColumn { ColPicture = 1, ColNumber = 2, ColArea = 3, ColDescription = 4 };

    ~ArchListForm() override;

    /// The list entries, entry n at index n − 1.
    const std::vector<ArchRow>& entries() const { return entries_; }
    /// Link picture of visible row i (1-based), nullptr when not created yet.
    QLabel* picColl(int i) const;

    /// Reloads the list for the area picked (index 0: every area).
    void LeggList() override;

protected:
    /// Adds the "DITTA  Tarv:" picker, the "ANNO:" one when `withYear`, and the
    /// "AREA  Quirnova:" one.
    ArchListForm(Session& session, Progress* wait, const char* name, const char* caption, bool withYear,
                 QWidget* parent);
    /// Binds the grid with `format`, the description column `descriptionWidth` twips
    /// wide at least, and lays the link pictures over it.
    void initArchList(const char* format, int descriptionWidth);
    /// Under the wait window: the document types, the areas (the list opens on every
    /// area), the list, then the companies.
    void fillPickers();

    std::vector<ArchRow> entries_;
    std::unique_ptr<OverlayColumn> picColl_;

private:
    ArchiveModel model_;
};

}  // namespace zq
