#pragma once
// A combo box as the lookups see it: the lookups fill and select a Picker, the form
// shows it in its QComboBox. The combo is the one the person changes, so the picker
// takes the combo's selection before a lookup reads it.

#include "lookups/picker.h"

class QComboBox;

namespace zq {

class ComboPicker {
public:
    explicit ComboPicker(QComboBox* combo);

    Picker& picker() { return picker_; }
    const Picker& picker() const { return picker_; }
    QComboBox* combo() const { return combo_; }

    /// The picker takes the combo's current selection (ListIndex).
    Picker& take();
    /// The combo shows the picker's items and selection, without raising its own
    /// selection signals (they stand for the person's picks).
    void show();

    /// ListIndex as the person left it.
    int listIndex() const;

private:
    QComboBox* combo_;
    Picker picker_;
};

}  // namespace zq
