#include "app/gui/dispflds.h"

#include "common/gesterr.h"
#include "common/textroutines.h"
#include "runtime/format.h"
#include "runtime/text.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMetaMethod>
#include <QVariant>


namespace zq {
namespace {

QString textOf(const Value& v) { return QString::fromStdString(v.toText()); }

QVariant toVariant(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: return {};
    case ValueKind::Boolean: return v.toBool();
    case ValueKind::Integer: return qlonglong(v.toInteger());
    case ValueKind::Decimal: return v.toDouble();
    case ValueKind::Text:
    case ValueKind::Currency: return textOf(v);  // every digit of the amount, decimal comma
    case ValueKind::DateTime: {
        const DateTime d = v.toDateTime();
        return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second));
    }
    }
    return {};
}

// The formatted text box is recognised by what it can do, so this library needs no
// link to the control library.
bool isFormattedTextBox(const QWidget* w) {
    const QMetaObject* mo = w->metaObject();
    return mo->indexOfMethod("display(QVariant)") >= 0 && mo->indexOfProperty("Text") >= 0;
}

// A check box is ticked by what the original compared with True, "1" and "S".
bool ticks(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Boolean: return v.toBool();
    case ValueKind::Integer:
    case ValueKind::Decimal:
    case ValueKind::Currency: return v.toDouble() == 1 || v.toDouble() == -1;
    case ValueKind::Text: {
        const std::string& s = *v.textIf();
        return s == "1" || s == "S" || s == "-1" || s == "True";
    }
    default: return false;
    }
}

bool itemDataEquals(const QVariant& data, const QString& text) {
    bool dataNumeric = false, textNumeric = false;
    const qlonglong a = data.toLongLong(&dataNumeric);
    const qlonglong b = text.trimmed().toLongLong(&textNumeric);
    if (dataNumeric && textNumeric)
        return a == b;
    return data.toString() == text;
}

void show(Dialogs& dialogs, const Value& value, QWidget* control,
          const QList<QAbstractButton*>& buttons) {
    if (isFormattedTextBox(control)) {
        if (value.isNullish())
            control->setProperty("Text", QString());
        else
            QMetaObject::invokeMethod(control, "display", Qt::DirectConnection,
                                      Q_ARG(QVariant, toVariant(value)));
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        check->setCheckState(ticks(value) ? Qt::Checked : Qt::Unchecked);
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        const QString tag = textOf(value);
        frame->setProperty("Tag", tag);
        for (QAbstractButton* b : buttons) {
            if (b && b->parentWidget() == frame && b->property("Tag").toString() == tag)
                b->setChecked(true);
        }
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        const QString tag = label->property("Tag").toString();
        if (!QString::fromStdString(vbTrim(tag.toStdString())).isEmpty())
            label->setText(QString::fromStdString(formatValue(value, tag.toStdString())));
        else
            label->setText(textOf(value));
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        list->setCurrentRow(int(ClngText(dialogs, value.toText())));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setCurrentIndex(-1);
        const QString text = textOf(value);
        if (text.isEmpty() || text == QLatin1String("0"))
            return;
        for (int i = 0; i < combo->count(); ++i) {
            if (itemDataEquals(combo->itemData(i), text)) {
                combo->setCurrentIndex(i);
                break;
            }
        }
        combo->update();
    }
}

}  // namespace

void DispFlds(Dialogs& dialogs, const Value& value, QWidget* control,
              const QList<QAbstractButton*>& optionButtons) {
    if (!control)
        return;
    runGuarded(dialogs, "", "DispFlds", "", [&] { show(dialogs, value, control, optionButtons); });
    QCoreApplication::processEvents();
}

}  // namespace zq
