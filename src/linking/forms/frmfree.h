#pragma once
// frmFree, "Scollegamento tabelle al database TARV": lists every archive that is a
// link and has a registry row, narrowed by company and year; the operator ticks
// archives (or the rows on screen with "Seleziona Tutti") and presses "&Scollega";
// FreeRun unlinks them.

#include "linking/forms/freelistform.h"

class QCheckBox;
class QPushButton;

namespace zq {

class frmFree : public FreeListForm {
    Q_OBJECT

public:
    /// "    |  N.  |<Area|<Descrizione|Ditta|Anno|Tipo Assoc.|Tipo Documento|       "
    static const char* const kFormat;

    /// The list stays empty until a picker is chosen.
    explicit frmFree(Session& session, Progress* wait = nullptr, QWidget* parent = nullptr);
    ~frmFree() override;

    QPushButton* cmdFree() const { return cmdFree_; }
    QCheckBox* chk_All() const { return chk_All_; }

    void cmdFree_Click();
    /// Ticks or clears the boxes of the rows on screen, as chk_All is.
    void chk_All_Click();

private:
    QPushButton* cmdFree_ = nullptr;
    QCheckBox* chk_All_ = nullptr;
};

}  // namespace zq
