#include "optionctl/optsino.h"

#include "optionctl/option_layout.h"
#include "textbox/ole_color.h"
#include "textbox/property_bag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRadioButton>

namespace zq {

namespace {
const QString kCaption0 = QStringLiteral("&Si");
const QString kCaption1 = QStringLiteral("&No");
const QString kTag0 = QStringLiteral("S");
const QString kTag1 = QStringLiteral("N");
}  // namespace

optSiNo::optSiNo(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("optFlds_%1").arg(i));
        b->setAutoFillBackground(true);
        b->installEventFilter(this);
        connect(b, &QRadioButton::clicked, this, [this, i] { pick(i); });
        optFlds_[i] = b;
    }
    optFlds_[0]->setText(kCaption0);
    optFlds_[1]->setText(kCaption1);
    tags_ = {kTag0, kTag1};
    setFocusProxy(optFlds_[0]);
    applyColors();
}

void optSiNo::pick(int index) {
    value_ = tags_[index];
    emit ValueChanged();
    emit Change();
}

bool optSiNo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        // Any key released on a button picks it, so moving with the arrows reports each choice.
        for (int i = 0; i < 2; ++i)
            if (watched == optFlds_[i]) pick(i);
    }
    return QWidget::eventFilter(watched, event);
}

QSize optSiNo::sizeHint() const {
    // Two halves, each wide enough for the wider of the two choices.
    QSize half;
    for (const auto* b : optFlds_) half = half.expandedTo(b->sizeHint());
    return {2 * half.width(), half.height()};
}

void optSiNo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (int i = 0; i < 2; ++i) optFlds_[i]->setGeometry(OptionLayout::placePixels(i, width(), height()));
}

QFont optSiNo::choiceFont() const { return optFlds_[0]->font(); }

void optSiNo::setChoiceFont(const QFont& f) {
    for (auto* b : optFlds_) b->setFont(f);
    emit FontChanged();
}

void optSiNo::applyColors() {
    const QColor back = OleColor::toColor(back_, palette());
    const QColor fore = OleColor::toColor(fore_, palette());
    for (auto* b : optFlds_) {
        QPalette pal = b->palette();
        pal.setColor(QPalette::Window, back);
        pal.setColor(QPalette::Button, back);
        pal.setColor(QPalette::WindowText, fore);
        pal.setColor(QPalette::ButtonText, fore);
        b->setPalette(pal);
    }
}

void optSiNo::setBackColor(quint32 c) {
    back_ = c;
    applyColors();
    emit BackColorChanged();
}

void optSiNo::setForeColor(quint32 c) {
    fore_ = c;
    applyColors();
    emit ForeColorChanged();
}

void optSiNo::setValue(const QString& v) {
    value_ = v;
    for (int i = 0; i < 2; ++i)
        if (tags_[i] == v) optFlds_[i]->setChecked(true);
    emit ValueChanged();
}

QString optSiNo::caption0() const { return optFlds_[0]->text(); }

void optSiNo::setCaption0(const QString& s) {
    optFlds_[0]->setText(s);
    emit Caption0Changed();
}

QString optSiNo::caption1() const { return optFlds_[1]->text(); }

void optSiNo::setCaption1(const QString& s) {
    optFlds_[1]->setText(s);
    emit Caption1Changed();
}

void optSiNo::setTag0(const QString& s) {
    tags_[0] = s;
    emit Tag0Changed();
}

void optSiNo::setTag1(const QString& s) {
    tags_[1] = s;
    emit Tag1Changed();
}

QFont optSiNo::containerFont() const { return parentWidget() ? parentWidget()->font() : QApplication::font(); }

void optSiNo::initProperties() {
    setCaption0(kCaption0);
    setCaption1(kCaption1);
    setTag0(kTag0);
    setTag1(kTag1);
    setForeColor(kButtonText);
    setBackColor(kButtonFace);
}

void optSiNo::writeProperties(PropertyBag& bag) const {
    bag.write("Caption0", caption0(), kCaption0);
    bag.write("Caption1", caption1(), kCaption1);
    bag.write("Tag0", tags_[0], kTag0);
    bag.write("Tag1", tags_[1], kTag1);
    bag.write("Font", choiceFont(), containerFont());
    bag.write("ForeColor", qlonglong(fore_));
    bag.write("BackColor", qlonglong(back_));
}

void optSiNo::readProperties(const PropertyBag& bag) {
    setCaption0(bag.read("Caption0", kCaption0).toString());
    setCaption1(bag.read("Caption1", kCaption1).toString());
    setTag0(bag.read("Tag0", kTag0).toString());
    setTag1(bag.read("Tag1", kTag1).toString());
    const QVariant font = bag.read("Font");
    setChoiceFont(font.canConvert<QFont>() && font.isValid() ? font.value<QFont>() : containerFont());
    setForeColor(OleColor::fromStored(bag.read("ForeColor", qlonglong(kButtonText)), kButtonText));
    setBackColor(OleColor::fromStored(bag.read("BackColor", qlonglong(kButtonFace)), kButtonFace));
}

}  // namespace zq
