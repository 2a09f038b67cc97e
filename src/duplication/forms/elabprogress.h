#pragma once
// The year duplication's progress on the form's three labels lblElab(0..2): a line that
// grows a dot per step, the area being made, and the archive being copied. The engine
// reports one text per step; an area's step is told from an archive's by the names of
// the child areas the run goes through, in order.

#include "common/progress.h"

#include <QPointer>

#include <string>
#include <vector>

class QLabel;

namespace zq {

class ElabProgress : public Progress {
public:
    ElabProgress(QLabel* lbl0, QLabel* lbl1, QLabel* lbl2);

    /// The child areas of the coming run, in the order it makes them.
    void setAreas(std::vector<std::string> names);

    /// Shows the labels: the first says `text`, the others are empty.
    void begin(const std::string& text = {}) override;
    /// Empties and hides the labels.
    void end() override;
    /// "Creazione area … in corso..." for an area or an archive.
    void setLabel(const std::string& text) override;

private:
    void refresh();

    QPointer<QLabel> lbl_[3];
    std::vector<std::string> areas_;
    std::size_t next_ = 0;  // the first area not yet begun
};

}  // namespace zq
