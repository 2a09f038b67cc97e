#pragma once
// optSiNo ("Lumechoice.optSiNo"): two option buttons that behave as one field whose
// value is the code of the chosen button. By default the choices are "&Si" and "&No"
// with the codes "S" and "N"; a form may relabel them and change the codes (the linking
// form uses "&Mov."/"&Altro" with "M"/"A"). Colours are the original's 32-bit colour
// values (see OleColor); the defaults are the system's button colours.

#include "optionctl/lumechoice_export.h"

#include <QFont>
#include <QString>
#include <QWidget>

#include <array>

class QRadioButton;

namespace zq {

class PropertyBag;

class LUMECHOICE_EXPORT optSiNo : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "Lumechoice.optSiNo")
    Q_PROPERTY(QFont Font READ choiceFont WRITE setChoiceFont NOTIFY FontChanged)
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor NOTIFY BackColorChanged)
    Q_PROPERTY(quint32 ForeColor READ foreColor WRITE setForeColor NOTIFY ForeColorChanged)
    Q_PROPERTY(QString Value READ value WRITE setValue NOTIFY ValueChanged)
    Q_PROPERTY(QString Caption0 READ caption0 WRITE setCaption0 NOTIFY Caption0Changed)
    Q_PROPERTY(QString Caption1 READ caption1 WRITE setCaption1 NOTIFY Caption1Changed)
    Q_PROPERTY(QString Tag0 READ tag0 WRITE setTag0 NOTIFY Tag0Changed)
    Q_PROPERTY(QString Tag1 READ tag1 WRITE setTag1 NOTIFY Tag1Changed)

public:
    /// System button face (colour index 15) and button text (index 18).
    static constexpr quint32 kButtonFace = 0x8000000Fu;
    static constexpr quint32 kButtonText = 0x80000012u;

    /// A new control as placed on a form: "&Si"/"&No" with codes "S"/"N", no value.
    explicit optSiNo(QWidget* parent = nullptr);

    /// Element 0's font; setting writes both buttons.
    QFont choiceFont() const;
    void setChoiceFont(const QFont& f);
    quint32 backColor() const { return back_; }
    void setBackColor(quint32 c);
    quint32 foreColor() const { return fore_; }
    void setForeColor(quint32 c);
    /// The code of the button last picked, or the last value assigned.
    QString value() const { return value_; }
    /// Turns on the buttons whose code equals v exactly (case-sensitive); with no match
    /// the buttons stay as they are and value() still returns v.
    void setValue(const QString& v);
    QString caption0() const;
    void setCaption0(const QString& s);
    QString caption1() const;
    void setCaption1(const QString& s);
    QString tag0() const { return tags_[0]; }
    void setTag0(const QString& s);
    QString tag1() const { return tags_[1]; }
    void setTag1(const QString& s);

    /// Writes captions, codes, font and colours (the colours always); the value is not kept.
    void writeProperties(PropertyBag& bag) const;
    /// Reads them back; a missing font is the container's.
    void readProperties(const PropertyBag& bag);
    /// The starting values of a control just placed on a form.
    void initProperties();

    /// Button 0 or 1, for hosts that lay out or test.
    QRadioButton* button(int index) const { return optFlds_[index]; }
    /// Room for both choices side by side, each in its half, at the current font.
    QSize sizeHint() const override;

signals:
    /// The person picked a choice.
    void Change();

    void FontChanged();
    void BackColorChanged();
    void ForeColorChanged();
    void ValueChanged();
    void Caption0Changed();
    void Caption1Changed();
    void Tag0Changed();
    void Tag1Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void pick(int index);
    void applyColors();
    QFont containerFont() const;

    std::array<QRadioButton*, 2> optFlds_{};
    std::array<QString, 2> tags_;  ///< each button's code
    QString value_;                ///< the current value (the original kept it in the control's tag)
    quint32 back_ = kButtonFace;
    quint32 fore_ = kButtonText;
};

}  // namespace zq
