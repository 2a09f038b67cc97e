#include "textbox/txtfrmt.h"

#include "common/dialogs.h"
#include "runtime/datetime_parse.h"
#include "runtime/format.h"
#include "runtime/value.h"
#include "textbox/date_time_check.h"
#include "textbox/mask_filter.h"
#include "textbox/message_box_dialogs.h"
#include "textbox/ole_color.h"
#include "textbox/property_bag.h"
#include "textbox/query_builder.h"
#include "textbox/vb_keys.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDate>
#include <QDateTime>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTime>

#include <cmath>
#include <functional>

namespace zq {

namespace {

constexpr auto kDefaultFontName = "MS Sans Serif";
constexpr int kDefaultFontSize = 8;
constexpr quint32 kWhite = 0xFFFFFFu;
constexpr quint32 kBlack = 0u;

// The multi-line box, with pastes and drops routed through the control's mask.
class MultiLineBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<bool(const QMimeData*)> insertHook;  ///< true: the control inserted it

protected:
    void insertFromMimeData(const QMimeData* source) override {
        if (insertHook && insertHook(source)) return;
        QPlainTextEdit::insertFromMimeData(source);
    }
};

// Trim removes blanks only, as the original's did; tabs and line breaks stay.
QString trimBlanks(const QString& s) {
    qsizetype from = 0, to = s.size();
    while (from < to && s.at(from) == u' ') ++from;
    while (to > from && s.at(to - 1) == u' ') --to;
    return s.mid(from, to - from);
}

// The multi-line box keeps "\n"; the control hands out lines joined by CR LF as the
// original did, and counts caret positions the same way.
QString toCrLf(const QString& plain) {
    QString s = plain;
    s.replace(u'\n', QStringLiteral("\r\n"));
    return s;
}
QString fromCrLf(const QString& s) {
    QString plain = s;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain;
}
int crLfPos(const QString& plain, int pos) { return pos + int(plain.left(pos).count(u'\n')); }
int plainPos(const QString& plain, int crlfPos) {
    int p = 0, c = 0;
    while (p < plain.size() && c < crlfPos) {
        c += plain.at(p) == u'\n' ? 2 : 1;
        ++p;
    }
    return p;
}

// Formats a text the way the original's Format does with a text argument: numbers as
// numbers, dates as dates, anything else as text. Throws when the format cannot apply.
QString formatText(const QString& text, const QString& format) {
    return QString::fromStdString(formatValue(Value(text.toStdString()), format.toStdString()));
}

// The text box's KeyDown code: a key with a character of its own (digits on the keypad
// too) reports that character's code, Pause and Caps Lock report none, any other key
// the code the list's KeyDown gives it.
int keyCodeOf(const QKeyEvent* e) {
    const int k = e->key();
    if (k < 256) return k;
    if (k == Qt::Key_Pause || k == Qt::Key_CapsLock) return 0;
    return VbKeys::keyCode(*e);
}

bool isDateKind(DataTypes t) { return t == DataTypes::Data || t == DataTypes::DataOra || t == DataTypes::ora; }

// A window switch or a popup menu moves the keyboard away without leaving the field.
bool leavesField(const QFocusEvent* e) {
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

}  // namespace

txtFrmt::txtFrmt(QWidget* parent) : QWidget(parent) {
    createBoxes();
    setBoxFont(QFont(QString::fromLatin1(kDefaultFontName), kDefaultFontSize));
    applyColors(0, back_[0], fore_[0]);
    applyColors(1, back_[1], fore_[1]);
    applyBorder();
    applyAlignment(0);
    applySizePolicy();
}

txtFrmt::~txtFrmt() = default;

void txtFrmt::createBoxes() {
    single_ = new QLineEdit(this);
    single_->setMaxLength(32767);
    auto* multi = new MultiLineBox(this);
    multi->insertHook = [this](const QMimeData* source) {
        const MaskFilter filter(queryStatus_ == QueryDest::nessuno ? inputMask_ : queryMask_,
                                queryStatus_ != QueryDest::nessuno);
        if (!filter.isActive() && maxLen_[1] == 0) return false;
        if (!source->hasText()) return true;
        const QString plain = multi_->toPlainText();
        const MaskPaste p = filter.paste(source->text(), toCrLf(plain), boxSelStart(1), boxSelLength(1), maxLen_[1]);
        setBoxText(1, p.text);
        setBoxSelection(1, p.selStart, 0);
        if (p.rejected) beep();
        return true;
    };
    multi_ = multi;
    multi_->hide();
    for (QWidget* b : {static_cast<QWidget*>(single_), static_cast<QWidget*>(multi_)}) {
        b->installEventFilter(this);
        b->setGeometry(rect());
    }
    connect(single_, &QLineEdit::textChanged, this, &txtFrmt::Change);
    connect(multi_, &QPlainTextEdit::textChanged, this, &txtFrmt::Change);
    connect(single_, &QLineEdit::selectionChanged, this, &txtFrmt::SelectionChanged);
    connect(single_, &QLineEdit::cursorPositionChanged, this, &txtFrmt::SelectionChanged);
    connect(multi_, &QPlainTextEdit::selectionChanged, this, &txtFrmt::SelectionChanged);
    connect(multi_, &QPlainTextEdit::cursorPositionChanged, this, &txtFrmt::SelectionChanged);
    setFocusProxy(single_);
    setFocusPolicy(Qt::StrongFocus);
}

void txtFrmt::setDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

Dialogs& txtFrmt::dialogs() {
    if (dialogs_) return *dialogs_;
    if (!ownDialogs_) ownDialogs_ = std::make_unique<MessageBoxDialogs>();
    return *ownDialogs_;
}

void txtFrmt::beep() { dialogs().beep(); }

QWidget* txtFrmt::box(int index) const {
    return index == 0 ? static_cast<QWidget*>(single_) : static_cast<QWidget*>(multi_);
}

int txtFrmt::indexOf(QObject* o) const {
    if (o == single_) return 0;
    if (o == multi_) return 1;
    return -1;
}

// ---- inner box access ----------------------------------------------------------------

QString txtFrmt::boxText(int i) const { return i == 0 ? single_->text() : toCrLf(multi_->toPlainText()); }

void txtFrmt::setBoxText(int i, const QString& s) {
    if (boxText(i) == s) return;
    if (i == 0) {
        single_->setText(s);
        // A value too long for the box shows its beginning, as the person reads it,
        // not its end; while they type, the cursor stays where they put it.
        if (!single_->hasFocus()) single_->home(/*mark=*/false);
    } else
        multi_->setPlainText(fromCrLf(s));
}

int txtFrmt::boxSelStart(int i) const {
    if (i == 0) return single_->hasSelectedText() ? single_->selectionStart() : single_->cursorPosition();
    return crLfPos(multi_->toPlainText(), multi_->textCursor().selectionStart());
}

void txtFrmt::setBoxSelection(int i, int start, int length) {
    const int size = int(boxText(i).size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (i == 0) {
        if (length > 0)
            single_->setSelection(start, length);
        else
            single_->setCursorPosition(start);
        return;
    }
    const QString plain = multi_->toPlainText();
    QTextCursor c = multi_->textCursor();
    c.setPosition(plainPos(plain, start));
    c.setPosition(plainPos(plain, start + length), QTextCursor::KeepAnchor);
    multi_->setTextCursor(c);
}

void txtFrmt::applyColors(int i, quint32 back, quint32 fore) {
    back_[i] = back;
    fore_[i] = fore;
    QWidget* b = box(i);
    QPalette pal = b->palette();
    pal.setColor(QPalette::Base, OleColor::toColor(back, palette()));
    pal.setColor(QPalette::Text, OleColor::toColor(fore, palette()));
    b->setPalette(pal);
}

void txtFrmt::applyAlignment(int i) {
    const Qt::Alignment a = isRightAligned(dataType_) ? Qt::AlignRight : Qt::AlignLeft;
    if (i == 0) {
        single_->setAlignment(a | Qt::AlignVCenter);
        return;
    }
    QTextOption option = multi_->document()->defaultTextOption();
    option.setAlignment(a);
    multi_->document()->setDefaultTextOption(option);
}

void txtFrmt::applyBorder() {
    single_->setFrame(borderStyle_ != 0);
    multi_->setFrameShape(borderStyle_ != 0 ? QFrame::StyledPanel : QFrame::NoFrame);
    updateGeometry();
}

// Layouts size the control by the box it shows: one line of the current font (a single
// line grows only in width), or a text area that takes the room it is given.
QSize txtFrmt::sizeHint() const { return box(active_)->sizeHint(); }

QSize txtFrmt::minimumSizeHint() const { return box(active_)->minimumSizeHint(); }

void txtFrmt::applySizePolicy() {
    setSizePolicy(QSizePolicy::Expanding, active_ == 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    updateGeometry();
}

void txtFrmt::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    single_->setGeometry(rect());
    multi_->setGeometry(rect());
}

// ---- properties ------------------------------------------------------------------------

void txtFrmt::setQueryString(const QString& s) {
    queryString_ = s;
    emit QueryStringChanged();
}

void txtFrmt::setInputMask(const QString& s) {
    inputMask_ = s;
    emit InputMaskChanged();
}

QString txtFrmt::text() const { return boxText(active_); }

void txtFrmt::setText(const QString& s) {
    setBoxText(0, s);
    setBoxText(1, s);
}

int txtFrmt::maxLength() const { return maxLen_[active_]; }

void txtFrmt::setMaxLength(int n) {
    maxLen_ = {std::max(n, 0), std::max(n, 0)};
    emit MaxLengthChanged();
}

QFont txtFrmt::boxFont() const { return box(active_)->font(); }

void txtFrmt::setBoxFont(const QFont& f) {
    single_->setFont(f);
    multi_->setFont(f);
    updateGeometry();
    emit FontChanged();
}

void txtFrmt::setInFormat(const QString& s) {
    inFormat_ = s;
    emit InFormatChanged();
}

void txtFrmt::setOutFormat(const QString& s) {
    outFormat_ = s;
    emit OutFormatChanged();
}

quint32 txtFrmt::backColor() const { return back_[active_]; }

void txtFrmt::setBackColor(quint32 c) {
    applyColors(0, c, fore_[0]);
    applyColors(1, c, fore_[1]);
    emit BackColorChanged();
}

quint32 txtFrmt::foreColor() const { return fore_[active_]; }

void txtFrmt::setForeColor(quint32 c) {
    applyColors(0, back_[0], c);
    applyColors(1, back_[1], c);
    emit ForeColorChanged();
}

void txtFrmt::setFocusBackColor(quint32 c) {
    focusBack_ = c;
    emit Focus_BackColorChanged();
}

void txtFrmt::setFocusForeColor(quint32 c) {
    focusFore_ = c;
    emit Focus_ForeColorChanged();
}

void txtFrmt::setDataType(DataTypes t) {
    dataType_ = t;
    applyAlignment(active_);
    emit DataTypeChanged();
}

void txtFrmt::setMultiline(bool on) {
    if (on) {
        const int previous = active_;
        active_ = 1;
        if (previous != 1) box(previous)->hide();
        setBoxText(1, boxText(previous));
        multi_->show();
        multi_->raise();
    } else {
        active_ = 0;
        setBoxText(0, boxText(1));
        single_->show();
        multi_->hide();
        applyAlignment(0);
    }
    setFocusProxy(box(active_));
    applySizePolicy();
    emit MultilineChanged();
}

void txtFrmt::setUpdatable(bool on) {
    updatable_ = on;
    emit UpdatableChanged();
}

void txtFrmt::setQueryStatus(QueryDest q) {
    queryStatus_ = q;
    emit QueryStatusChanged();
}

void txtFrmt::setDataField(const QString& s) {
    dataField_ = s;
    emit DataFieldChanged();
}

void txtFrmt::setQueryMask(const QString& s) {
    queryMask_ = s;
    emit QueryMaskChanged();
}

bool txtFrmt::boxEnabled() const { return box(active_)->isEnabled(); }

void txtFrmt::setBoxEnabled(bool on) {
    single_->setEnabled(on);
    multi_->setEnabled(on);
    emit EnabledChanged();
}

void txtFrmt::setPassWordChar(const QString& s) {
    passWordChar_ = s.left(1);
    // The multi-line box shows its text always, as the original's did.
    single_->setEchoMode(passWordChar_.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
    emit PassWordCharChanged();
}

int txtFrmt::selStart() const { return boxSelStart(active_); }

void txtFrmt::setSelStart(int n) { setBoxSelection(active_, n, 0); }

int txtFrmt::boxSelLength(int i) const {
    if (i == 0) return int(single_->selectedText().size());
    const QString plain = multi_->toPlainText();
    const QTextCursor c = multi_->textCursor();
    return crLfPos(plain, c.selectionEnd()) - crLfPos(plain, c.selectionStart());
}

int txtFrmt::selLength() const { return boxSelLength(active_); }

void txtFrmt::setSelLength(int n) { setBoxSelection(active_, selStart(), n); }

QString txtFrmt::selText() const { return boxText(active_).mid(selStart(), selLength()); }

void txtFrmt::setSelText(const QString& s) {
    const int start = selStart();
    QString t = boxText(active_);
    t.replace(start, selLength(), s);
    setBoxText(active_, t);
    setBoxSelection(active_, start + int(s.size()), 0);
}

void txtFrmt::setBorderStyle(int n) {
    borderStyle_ = n;
    applyBorder();
    emit BorderStyleChanged();
}

bool txtFrmt::locked() const { return active_ == 0 ? single_->isReadOnly() : multi_->isReadOnly(); }

void txtFrmt::setLocked(bool on) {
    single_->setReadOnly(on);
    multi_->setReadOnly(on);
    emit LockedChanged();
}

// ---- display ---------------------------------------------------------------------------

void txtFrmt::display(const QVariant& value) {
    QString s;
    switch (value.typeId()) {
    case QMetaType::QDate:
        s = value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        break;
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        s = dt.date().toString(QStringLiteral("dd/MM/yyyy"));
        if (dt.time() != QTime(0, 0)) s += dt.time().toString(QStringLiteral(" hh.mm"));
        break;
    }
    case QMetaType::QTime:
        s = value.toTime().toString(QStringLiteral("hh.mm"));
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        s = QString::fromStdString(Value(value.toDouble()).toText());
        break;
    case QMetaType::Bool:
        s = QString::fromStdString(Value(value.toBool()).toText());
        break;
    default:
        s = value.isNull() ? QString() : value.toString();
    }
    showText(s);
}

void txtFrmt::display(const Value& value) {
    if (value.kind() == ValueKind::DateTime) {
        // Minutes are what a date-and-time box holds; the seconds would fail its check.
        const DateTime d = value.toDateTime();
        showText(QString::asprintf("%02d/%02d/%04d", d.day, d.month, d.year) +
                 (d.hasTime() ? QString::asprintf(" %02d.%02d", d.hour, d.minute) : QString()));
        return;
    }
    showText(QString::fromStdString(value.toText()));
}

void txtFrmt::showText(const QString& value) {
    const int i = active_;
    QString s = value;
    if (dataType_ == DataTypes::decimale && (s.isEmpty() || s == u"," || s == u"-")) s = QStringLiteral("0");
    setBoxText(i, s);
    if (s.isEmpty()) return;

    if (!outFormat_.isEmpty()) maxLen_[i] = int(outFormat_.size());
    if (isDateKind(dataType_)) {
        const auto n = parseNumber(s.toStdString());
        if (n && std::trunc(*n) == 0) {
            setBoxText(i, QString());
            return;
        }
        std::string t = s.toStdString();
        const DateTimeCheck check(dialogs(), [this] { emit FormatError(); });
        if (!check.check(dataType_, t)) {
            setBoxText(i, QString());
            giveFocusBack(i);
            return;
        }
        s = QString::fromStdString(t);
        setBoxText(i, s);
    }
    if (!outFormat_.isEmpty()) {
        try {
            setBoxText(i, formatText(s, outFormat_));
        } catch (...) {
            // A value the format cannot take stays as it is.
        }
    }
}

// ---- focus -----------------------------------------------------------------------------

void txtFrmt::giveFocusBack(int i) {
    QWidget* b = box(i);
    QMetaObject::invokeMethod(b, [b] { b->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
}

void txtFrmt::focusGained(int i) {
    focused_ = true;
    QString t = trimBlanks(boxText(i));
    setBoxText(i, t);

    savedBack_ = back_[i];
    savedFore_ = fore_[i];
    applyColors(i, focusBack_, focusFore_);

    if (queryStatus_ != QueryDest::nessuno) {
        savedMaxLen_ = maxLen_[i];
        maxLen_[i] = 0;
        return;
    }
    if (t.isEmpty()) return;
    if (!inFormat_.isEmpty()) {
        maxLen_[i] = int(inFormat_.size());
        // Two or three digits typed into a date box are not a date serial to format.
        const bool shortDate = (dataType_ == DataTypes::Data || dataType_ == DataTypes::DataOra) && t.size() < 4;
        if (!shortDate) {
            try {
                setBoxText(i, formatText(t, inFormat_));
            } catch (...) {
                // Left as typed.
            }
        }
    }
    const bool selectAll = dataType_ == DataTypes::DataOra || dataType_ == DataTypes::decimale ||
                           dataType_ == DataTypes::intero || dataType_ == DataTypes::Data;
    setBoxSelection(i, 0, selectAll ? int(boxText(i).size()) : 0);
}

void txtFrmt::focusLost(int i) {
    focused_ = false;
    if (queryStatus_ != QueryDest::nessuno) {
        maxLen_[i] = savedMaxLen_;
        const QueryBuilder builder(dialogs(), [this] { emit FormatError(); });
        const QueryCondition c =
            builder.build(boxText(i).toStdString(), dataField_.toStdString(), dataType_, queryStatus_);
        setQueryString(QString::fromStdString(c.condition));
        if (!c.success) giveFocusBack(i);
    } else {
        display(QVariant(boxText(i)));
    }
    applyColors(i, savedBack_, savedFore_);
}

// ---- keys ------------------------------------------------------------------------------

void txtFrmt::typeCharacter(int i, QChar c) {
    if (i == 0)
        single_->insert(QString(c));
    else
        multi_->insertPlainText(QString(c));
}

void txtFrmt::pasteFiltered(int i) {
    const MaskFilter filter(queryStatus_ == QueryDest::nessuno ? inputMask_ : queryMask_,
                            queryStatus_ != QueryDest::nessuno);
    if (i == 1) {
        multi_->paste();  // goes through the box's insert hook
        return;
    }
    if (!filter.isActive() && maxLen_[0] == 0) {
        single_->paste();
        return;
    }
    const QString clip = QGuiApplication::clipboard()->text();
    const int start = boxSelStart(0);
    const MaskPaste p = filter.paste(clip, boxText(0), start, boxSelLength(0), maxLen_[0]);
    setBoxText(0, p.text);
    setBoxSelection(0, p.selStart, 0);
    if (p.rejected) beep();
}

bool txtFrmt::keyPressed(int i, QKeyEvent* e) {
    int code = keyCodeOf(e), shift = VbKeys::shiftMask(*e);
    emit KeyDown(code, shift);

    if (e->matches(QKeySequence::Paste)) {
        if (!(i == 0 ? single_->isReadOnly() : multi_->isReadOnly())) pasteFiltered(i);
        return true;
    }
    const QString typed = e->text();
    if (typed.isEmpty()) return false;
    const int original = typed.at(0).unicode();
    int key = original;
    bool literal = false;

    if (i == 0 ? single_->isReadOnly() : multi_->isReadOnly()) {
        // A locked box still reports the key, but neither the mask nor the host may type.
        emit KeyPress(key);
        return false;
    }

    if (key == '\r' || key == '\n') {
        // The single-line box has no second line to go to.
        if (i == 0) key = 0;
    } else {
        const bool query = queryStatus_ != QueryDest::nessuno;
        const MaskFilter filter(query ? queryMask_ : inputMask_, query);
        const MaskResult r = filter.filter(key, boxText(i), boxSelStart(i));
        key = r.key;
        if (r.text != boxText(i)) {
            setBoxText(i, r.text);
            setBoxSelection(i, r.selStart, 0);
            literal = true;
        }
        if (key == 0) beep();
    }
    emit KeyPress(key);
    if (key >= 32 && maxLen_[i] > 0) {
        if (int(boxText(i).size()) - boxSelLength(i) >= maxLen_[i]) {
            beep();
            key = 0;
        }
    }
    if (key == 0) return true;
    if (key == original && !literal) return false;
    if (key >= 32) typeCharacter(i, QChar(key));
    return true;
}

bool txtFrmt::eventFilter(QObject* watched, QEvent* event) {
    const int i = indexOf(watched);
    if (i < 0) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Coming back from another window or a popup menu is no new entry into the field.
        if (focused_) return false;
        // The box places its own caret first (a tab selects everything); ours goes last.
        if (redelivering_) return false;
        redelivering_ = true;
        QCoreApplication::sendEvent(watched, event);
        redelivering_ = false;
        focusGained(i);
        return true;
    }
    case QEvent::FocusOut:
        if (focused_ && leavesField(static_cast<QFocusEvent*>(event))) focusLost(i);
        return false;
    case QEvent::KeyPress:
        return keyPressed(i, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(event);
        int code = keyCodeOf(ke), shift = VbKeys::shiftMask(*ke);
        emit KeyUp(code, shift);
        return false;
    }
    case QEvent::ContextMenu:
        if (i == 0) {
            auto* ce = static_cast<QContextMenuEvent*>(event);
            QMenu* menu = single_->createStandardContextMenu();
            if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
                disconnect(paste, &QAction::triggered, nullptr, nullptr);
                connect(paste, &QAction::triggered, this, [this] { pasteFiltered(0); });
            }
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(ce->globalPos());
            return true;
        }
        return false;
    case QEvent::Drop:
        // Dropped text would bypass the mask: it goes in through the paste path.
        if (i == 0 && (!inputMask_.isEmpty() || !queryMask_.isEmpty() || maxLen_[0] > 0)) return true;
        return false;
    default:
        return false;
    }
}

// ---- persistence -----------------------------------------------------------------------

void txtFrmt::initProperties() {
    setInputMask({});
    setInFormat({});
    setOutFormat({});
    setText(objectName());
    setMaxLength(0);
    fontCharset_ = 0;
    setBoxFont(QFont(QString::fromLatin1(kDefaultFontName), kDefaultFontSize));
    setForeColor(kBlack);
    setBackColor(kWhite);
    setFocusForeColor(kBlack);
    setFocusBackColor(kWhite);
    setDataType(DataTypes::testo);
    setMultiline(false);
    setUpdatable(true);
    setQueryStatus(QueryDest::nessuno);
    setDataField({});
    setQueryMask({});
    setBoxEnabled(true);
    setPassWordChar({});
    setBorderStyle(1);
    setLocked(false);
}

void txtFrmt::writeProperties(PropertyBag& bag) const {
    const QFont f = boxFont();
    bag.write("InputMask", inputMask_, QString());
    bag.write("InFormat", inFormat_, QString());
    bag.write("OutFormat", outFormat_, QString());
    bag.write("Text", text(), objectName());
    bag.write("MaxLength", maxLength(), 0);
    bag.write("Font_Bold", f.bold(), false);
    bag.write("Font_Charset", fontCharset_, 0);
    bag.write("Font_Italic", f.italic(), false);
    bag.write("Font_Name", f.family(), QString::fromLatin1(kDefaultFontName));
    bag.write("Font_Size", qRound(f.pointSizeF()), kDefaultFontSize);
    bag.write("Font_Strikethrough", f.strikeOut(), false);
    bag.write("Font_Underline", f.underline(), false);
    bag.write("Font_Weight", int(f.weight()), 400);
    bag.write("ForeColor", qlonglong(foreColor()), qlonglong(kBlack));
    bag.write("BackColor", qlonglong(backColor()), qlonglong(kWhite));
    bag.write("Focus_ForeColor", qlonglong(focusFore_), qlonglong(kBlack));
    bag.write("Focus_BackColor", qlonglong(focusBack_), qlonglong(kWhite));
    bag.write("DataType", int(dataType_), int(DataTypes::testo));
    bag.write("MultiLine", multiline(), false);
    bag.write("Updatable", updatable_, true);
    bag.write("QueryStatus", int(queryStatus_), int(QueryDest::nessuno));
    bag.write("DataField", dataField_, QString());
    bag.write("QueryMask", queryMask_, QString());
    bag.write("Enabled", boxEnabled(), true);
    bag.write("PassWordChar", passWordChar_, QString());
    bag.write("BorderStyle", borderStyle_, 1);
    bag.write("Locked", locked(), false);
}

void txtFrmt::readProperties(const PropertyBag& bag) {
    setInputMask(bag.read("InputMask", QString()).toString());
    setInFormat(bag.read("InFormat", QString()).toString());
    setOutFormat(bag.read("OutFormat", QString()).toString());
    setText(bag.read("Text", objectName()).toString());
    setMaxLength(bag.read("MaxLength", 0).toInt());

    QFont f;
    f.setBold(bag.read("Font_Bold", false).toBool());
    fontCharset_ = bag.read("Font_Charset", 0).toInt();
    f.setItalic(bag.read("Font_Italic", false).toBool());
    f.setFamily(bag.read("Font_Name", QString::fromLatin1(kDefaultFontName)).toString());
    f.setPointSize(std::max(1, bag.read("Font_Size", kDefaultFontSize).toInt()));
    f.setStrikeOut(bag.read("Font_Strikethrough", false).toBool());
    f.setUnderline(bag.read("Font_Underline", false).toBool());
    // The weight refines the bold flag; a store that has only the flag keeps it.
    if (bag.contains("Font_Weight"))
        f.setWeight(QFont::Weight(std::clamp(bag.read("Font_Weight").toInt(), 1, 1000)));
    setBoxFont(f);

    setForeColor(OleColor::fromStored(bag.read("ForeColor", qlonglong(kBlack)), kBlack));
    setBackColor(OleColor::fromStored(bag.read("BackColor", qlonglong(kWhite)), kWhite));
    setFocusForeColor(OleColor::fromStored(bag.read("Focus_ForeColor", qlonglong(kBlack)), kBlack));
    setFocusBackColor(OleColor::fromStored(bag.read("Focus_BackColor", qlonglong(kWhite)), kWhite));
    const int type = bag.read("Datatype", int(DataTypes::testo)).toInt();
    setDataType(type >= 0 && type <= 9 ? DataTypes(type) : DataTypes::testo);
    setMultiline(bag.read("MultiLine", false).toBool());
    setUpdatable(bag.read("Updatable", true).toBool());
    const int query = bag.read("QueryStatus", 0).toInt();
    setQueryStatus(query >= 0 && query <= 2 ? QueryDest(query) : QueryDest::nessuno);
    setDataField(bag.read("DataField", QString()).toString());
    setQueryMask(bag.read("QueryMask", QString()).toString());
    setBoxEnabled(bag.read("Enabled", true).toBool());
    setPassWordChar(bag.read("PassWordChar", QString()).toString());
    setBorderStyle(bag.read("BorderStyle", 1).toInt());
    setLocked(bag.read("Locked", false).toBool());
}

}  // namespace zq
