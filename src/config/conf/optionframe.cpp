#include "config/conf/optionframe.h"

#include <QHBoxLayout>
#include <QRadioButton>
#include <QVariant>

namespace zq {

OptionFrame::OptionFrame(const QString& caption, const QString& tag, QWidget* parent) : QGroupBox(caption, parent) {
    setProperty("Tag", tag);
    new QHBoxLayout(this);
}

QRadioButton* OptionFrame::addOption(const QString& name, const QString& caption, const QString& tag,
                                     bool selected) {
    auto* b = new QRadioButton(caption, this);
    b->setObjectName(name);
    b->setProperty("Tag", tag);
    b->setChecked(selected);
    layout()->addWidget(b);
    options_.append(b);
    connect(b, &QRadioButton::clicked, this, [this, b] { setProperty("Tag", b->property("Tag")); });
    return b;
}

QString OptionFrame::captionOf(const QString& tag) const {
    for (QRadioButton* b : options_)
        if (b->property("Tag").toString() == tag) return QString(b->text()).remove(QChar('&'));
    return tag;
}

QString OptionFrame::tag() const { return property("Tag").toString(); }

bool OptionFrame::select(const QString& tag) {
    for (QRadioButton* b : std::as_const(options_)) {
        if (b->property("Tag").toString() != tag) continue;
        b->setChecked(true);
        setProperty("Tag", tag);
        return true;
    }
    return false;
}

}  // namespace zq
