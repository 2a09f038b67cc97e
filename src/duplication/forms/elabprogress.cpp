#include "duplication/forms/elabprogress.h"

#include "runtime/text.h"

#include <QCoreApplication>
#include <QLabel>

namespace zq {
namespace {

std::string areaLabel(const std::string& name) { return "Creazione area " + vbTrim(name) + " in corso..."; }

}  // namespace

ElabProgress::ElabProgress(QLabel* lbl0, QLabel* lbl1, QLabel* lbl2) : lbl_{lbl0, lbl1, lbl2} {}

void ElabProgress::setAreas(std::vector<std::string> names) {
    areas_ = std::move(names);
    next_ = 0;
}

void ElabProgress::begin(const std::string& text) {
    next_ = 0;
    for (auto& l : lbl_) {
        if (!l) continue;
        l->clear();
        l->show();
    }
    if (lbl_[0]) lbl_[0]->setText(QString::fromStdString(text));
    refresh();
}

void ElabProgress::end() {
    for (auto& l : lbl_) {
        if (!l) continue;
        l->clear();
        l->hide();
    }
    refresh();
}

void ElabProgress::setLabel(const std::string& text) {
    if (!lbl_[0] || !lbl_[1] || !lbl_[2]) return;
    const QString q = QString::fromStdString(text);
    // An area whose folder could not be made reports nothing: look past it.
    for (std::size_t k = next_; k < areas_.size(); ++k) {
        if (areaLabel(areas_[k]) != text) continue;
        next_ = k + 1;
        lbl_[2]->clear();
        lbl_[0]->setText(lbl_[0]->text().trimmed() + QLatin1Char('.'));
        lbl_[1]->setText(q);
        refresh();
        return;
    }
    lbl_[0]->setText(lbl_[0]->text() + QLatin1Char('.'));
    lbl_[1]->setText(lbl_[1]->text() + QLatin1Char('.'));
    lbl_[2]->setText(q);
    refresh();
}

void ElabProgress::refresh() {
    for (auto& l : lbl_)
        if (l && l->isVisible()) l->repaint();
}

}  // namespace zq
