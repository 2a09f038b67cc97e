#pragma once
// Shows a stored value in a field control, whatever its kind:
//   formatted text box (any widget with an invokable display(QVariant) and a Text
//     property, as txtFrmt): Null clears the text, anything else goes to display();
//   QCheckBox: ticked when the value is True, 1, "1" or "S";
//   QGroupBox (a frame of option buttons): its "Tag" property takes the value's text and
//     the option buttons inside it whose "Tag" equals it are switched on;
//   QLabel: the value's text, formatted with the label's "Tag" property when that is
//     not blank;
//   QListWidget: the row whose number the value holds;
//   QComboBox: the first item whose item data equals the value; none for "" or "0".
// Any other widget is left alone. Afterwards pending window events run once.

#include "runtime/value.h"

#include <QList>

class QAbstractButton;
class QWidget;

namespace zq {

class Dialogs;

/// `optionButtons` is the form's collection of option buttons (used for frames).
/// Failures go through the error report (routine "DispFlds"): Retry shows the value
/// again, Ignore leaves the control as it is, Abort throws AbortProgram.
void DispFlds(Dialogs& dialogs, const Value& value, QWidget* control,
              const QList<QAbstractButton*>& optionButtons = {});

}  // namespace zq
