#include "linking/forms/combopicker.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace zq {

ComboPicker::ComboPicker(QComboBox* combo) : combo_(combo) {}

Picker& ComboPicker::take() {
    picker_.setListIndex(combo_->currentIndex());
    return picker_;
}

void ComboPicker::show() {
    const QSignalBlocker quiet(combo_);
    combo_->clear();
    for (const auto& item : picker_.items())
        combo_->addItem(QString::fromStdString(item.text), QVariant::fromValue<qlonglong>(item.itemData));
    combo_->setCurrentIndex(picker_.listIndex());
}

int ComboPicker::listIndex() const { return combo_->currentIndex(); }

}  // namespace zq
