#pragma once
// txtFrmt ("Lumetext.txtFrmt", "Casella di Testo Personalizzata (ADO)"): the data-entry
// text box of the program's forms. It knows the kind of data it holds, filters keys
// through a mask, edits a value in one format (InFormat) and shows it in another
// (OutFormat), checks dates and times when the person leaves it, changes colour while
// focused, and in query mode turns a typed criterion into a condition (QueryString).
//
// Inside are two boxes, element 0 single-line and element 1 multi-line; Multiline picks
// the one shown. Properties of the box itself go to both, so switching keeps them.
// Colours are the original's 32-bit colour values (see OleColor).

#include "textbox/data_types.h"
#include "textbox/lumetext_export.h"

#include <QFont>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <array>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QKeyEvent;

namespace zq {

class Dialogs;
class PropertyBag;
class Value;

class LUMETEXT_EXPORT txtFrmt : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "Lumetext.txtFrmt")
    Q_CLASSINFO("Description", "Casella di Testo Personalizzata (ADO)")
    Q_PROPERTY(QString QueryString READ queryString WRITE setQueryString NOTIFY QueryStringChanged)
    Q_PROPERTY(QString InputMask READ inputMask WRITE setInputMask NOTIFY InputMaskChanged)
    Q_PROPERTY(QString Text READ text WRITE setText NOTIFY Change)
    Q_PROPERTY(int MaxLength READ maxLength WRITE setMaxLength NOTIFY MaxLengthChanged)
    Q_PROPERTY(QFont Font READ boxFont WRITE setBoxFont NOTIFY FontChanged)
    Q_PROPERTY(QString InFormat READ inFormat WRITE setInFormat NOTIFY InFormatChanged)
    Q_PROPERTY(QString OutFormat READ outFormat WRITE setOutFormat NOTIFY OutFormatChanged)
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor NOTIFY BackColorChanged)
    Q_PROPERTY(quint32 ForeColor READ foreColor WRITE setForeColor NOTIFY ForeColorChanged)
    Q_PROPERTY(quint32 Focus_BackColor READ focusBackColor WRITE setFocusBackColor NOTIFY Focus_BackColorChanged)
    Q_PROPERTY(quint32 Focus_ForeColor READ focusForeColor WRITE setFocusForeColor NOTIFY Focus_ForeColorChanged)
    Q_PROPERTY(zq::TextBoxEnums::DataTypes DataType READ dataType WRITE setDataType NOTIFY DataTypeChanged)
    Q_PROPERTY(bool Multiline READ multiline WRITE setMultiline NOTIFY MultilineChanged)
    Q_PROPERTY(bool Updatable READ updatable WRITE setUpdatable NOTIFY UpdatableChanged)
    Q_PROPERTY(zq::TextBoxEnums::QueryDest QueryStatus READ queryStatus WRITE setQueryStatus NOTIFY QueryStatusChanged)
    Q_PROPERTY(QString DataField READ dataField WRITE setDataField NOTIFY DataFieldChanged)
    Q_PROPERTY(QString QueryMask READ queryMask WRITE setQueryMask NOTIFY QueryMaskChanged)
    Q_PROPERTY(bool Enabled READ boxEnabled WRITE setBoxEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(QString PassWordChar READ passWordChar WRITE setPassWordChar NOTIFY PassWordCharChanged)
    Q_PROPERTY(int SelStart READ selStart WRITE setSelStart NOTIFY SelectionChanged)
    Q_PROPERTY(int SelLength READ selLength WRITE setSelLength NOTIFY SelectionChanged)
    Q_PROPERTY(QString SelText READ selText WRITE setSelText NOTIFY SelectionChanged)
    Q_PROPERTY(int BorderStyle READ borderStyle WRITE setBorderStyle NOTIFY BorderStyleChanged)
    Q_PROPERTY(bool Locked READ locked WRITE setLocked NOTIFY LockedChanged)

public:
    /// A new control as placed on a form: its name as text, black on white, single-line.
    explicit txtFrmt(QWidget* parent = nullptr);
    ~txtFrmt() override;

    /// Where messages and beeps go; nullptr = Qt message boxes. Not owned.
    void setDialogs(Dialogs* dialogs);

    /// The condition built by the last query-mode exit; empty otherwise.
    QString queryString() const { return queryString_; }
    void setQueryString(const QString& s);
    /// Keystroke mask of normal mode.
    QString inputMask() const { return inputMask_; }
    void setInputMask(const QString& s);
    /// Text of the active box; setting writes both boxes.
    QString text() const;
    void setText(const QString& s);
    /// Most characters that can be typed; 0 = no limit.
    int maxLength() const;
    void setMaxLength(int n);
    QFont boxFont() const;
    void setBoxFont(const QFont& f);
    /// Format applied when the control gets the focus (editing form).
    QString inFormat() const { return inFormat_; }
    void setInFormat(const QString& s);
    /// Format applied when the control shows a value or loses the focus.
    QString outFormat() const { return outFormat_; }
    void setOutFormat(const QString& s);
    quint32 backColor() const;
    void setBackColor(quint32 c);
    quint32 foreColor() const;
    void setForeColor(quint32 c);
    /// Colours shown while the control has the focus.
    quint32 focusBackColor() const { return focusBack_; }
    void setFocusBackColor(quint32 c);
    quint32 focusForeColor() const { return focusFore_; }
    void setFocusForeColor(quint32 c);
    /// Kind of data held; right-aligns counters, decimals and whole numbers.
    DataTypes dataType() const { return dataType_; }
    void setDataType(DataTypes t);

    /// Shows a value in display form (OutFormat, date and time checks). Dates and
    /// date-times are shown day/month/year, date-times to the minute.
    Q_INVOKABLE void display(const QVariant& value);
    /// The same for a database value; Null shows nothing.
    void display(const Value& value);

    /// Which inner box is active: false = single-line (element 0), true = multi-line.
    bool multiline() const { return active_ == 1; }
    void setMultiline(bool on);
    /// Kept for the forms; the control does not act on it.
    bool updatable() const { return updatable_; }
    void setUpdatable(bool on);
    /// Query mode and dialect.
    QueryDest queryStatus() const { return queryStatus_; }
    void setQueryStatus(QueryDest q);
    /// Column name of the bound field, used by the query builder.
    QString dataField() const { return dataField_; }
    void setDataField(const QString& s);
    /// Keystroke mask of query mode.
    QString queryMask() const { return queryMask_; }
    void setQueryMask(const QString& s);
    bool boxEnabled() const;
    void setBoxEnabled(bool on);
    /// Non-empty: the single-line box hides what is typed.
    QString passWordChar() const { return passWordChar_; }
    void setPassWordChar(const QString& s);
    int selStart() const;
    void setSelStart(int n);
    int selLength() const;
    void setSelLength(int n);
    QString selText() const;
    void setSelText(const QString& s);
    /// 0 none, 1 fixed single.
    int borderStyle() const { return borderStyle_; }
    void setBorderStyle(int n);
    bool locked() const;
    void setLocked(bool on);

    /// Writes the properties under the persisted keys; values equal to the default are left out.
    void writeProperties(PropertyBag& bag) const;
    /// Reads them back; a missing key gives the default.
    void readProperties(const PropertyBag& bag);
    /// The starting values of a control just placed on a form.
    void initProperties();

    /// Inner box 0 (single-line) or 1 (multi-line), for hosts that lay out or test.
    QWidget* box(int index) const;

    /// The size of the box shown: a single line is one line of its font high.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    /// The text of an inner box changed.
    void Change();
    /// A typed character after the mask filter; set KeyAscii to 0 to drop it.
    void KeyPress(int& KeyAscii);
    /// Key down/up with the original's key code and shift state (1 Shift, 2 Ctrl, 4 Alt).
    void KeyDown(int& KeyCode, int& Shift);
    void KeyUp(int& KeyCode, int& Shift);
    /// A date or time was rejected.
    void FormatError();

    void QueryStringChanged();
    void InputMaskChanged();
    void MaxLengthChanged();
    void FontChanged();
    void InFormatChanged();
    void OutFormatChanged();
    void BackColorChanged();
    void ForeColorChanged();
    void Focus_BackColorChanged();
    void Focus_ForeColorChanged();
    void DataTypeChanged();
    void MultilineChanged();
    void UpdatableChanged();
    void QueryStatusChanged();
    void DataFieldChanged();
    void QueryMaskChanged();
    void EnabledChanged();
    void PassWordCharChanged();
    void SelectionChanged();
    void BorderStyleChanged();
    void LockedChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void createBoxes();
    int indexOf(QObject* o) const;
    QString boxText(int i) const;
    void setBoxText(int i, const QString& s);
    int boxSelStart(int i) const;
    int boxSelLength(int i) const;
    void setBoxSelection(int i, int start, int length);
    void applyColors(int i, quint32 back, quint32 fore);
    void applyAlignment(int i);
    void applyBorder();
    void applySizePolicy();
    void focusGained(int i);
    void focusLost(int i);
    bool keyPressed(int i, QKeyEvent* e);
    void pasteFiltered(int i);
    void typeCharacter(int i, QChar c);
    void showText(const QString& s);
    void giveFocusBack(int i);
    void beep();
    Dialogs& dialogs();

    QLineEdit* single_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    int active_ = 0;                       ///< index of the visible box
    std::array<int, 2> maxLen_{0, 0};      ///< each box's maximum length, 0 = none
    std::array<quint32, 2> back_{0xFFFFFFu, 0xFFFFFFu};  ///< each box's back colour
    std::array<quint32, 2> fore_{0u, 0u};                ///< each box's fore colour
    int savedMaxLen_ = 0;                  ///< kept while query mode lifts the limit
    quint32 savedBack_ = 0xFFFFFFu;        ///< the box's colours before it got the focus
    quint32 savedFore_ = 0u;
    bool focused_ = false;                 ///< between focus gained and focus lost
    bool redelivering_ = false;            ///< a focus event is being handed to the box first

    QString queryString_;
    QString inputMask_;
    QString inFormat_;
    QString outFormat_;
    quint32 focusBack_ = 0xFFFFFFu;
    quint32 focusFore_ = 0u;
    DataTypes dataType_ = DataTypes::testo;
    bool updatable_ = true;
    QueryDest queryStatus_ = QueryDest::nessuno;
    QString dataField_;
    QString queryMask_;
    QString passWordChar_;
    int borderStyle_ = 1;
    int fontCharset_ = 0;                  ///< kept for the store; Qt picks glyphs itself

    Dialogs* dialogs_ = nullptr;
    std::unique_ptr<Dialogs> ownDialogs_;
};

}  // namespace zq
