#include "textbox/txtfrmt.h"

#include "runtime/value.h"
#include "scripted_dialogs.h"
#include "textbox/property_bag.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::ScriptedDialogs;

QApplication& app() {
    static int argc = 1;
    static char name[] = "txtfrmt_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = new QApplication(argc, argv);
    return *a;
}

// A form with the control and a second field to move the focus to.
class TxtFrmtTest : public testing::Test {
protected:
    static void SetUpTestSuite() { app(); }

    void SetUp() override {
        dialogs.answerAlways(Answer::Ok);
        auto* layout = new QVBoxLayout(&form);
        box = new txtFrmt(&form);
        box->setObjectName(QStringLiteral("txtNome"));
        box->initProperties();
        box->setDialogs(&dialogs);
        other = new QLineEdit(&form);
        layout->addWidget(box);
        layout->addWidget(other);
        form.resize(300, 120);
    }

    void showForm() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        leave();  // the window gives its first field the focus; each test enters it itself
        dialogs.clear();
    }
    QLineEdit* single() const { return static_cast<QLineEdit*>(box->box(0)); }
    QPlainTextEdit* multi() const { return static_cast<QPlainTextEdit*>(box->box(1)); }
    void enter() {
        box->box(box->multiline() ? 1 : 0)->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    void leave() {
        other->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    /// Enters an emptied box, types the keys and tabs away.
    void typeAndLeave(const QString& keys) {
        box->setText({});
        enter();
        QTest::keyClicks(single(), keys);
        leave();
        QCoreApplication::processEvents();
    }
    /// What a new control, or one loaded from an empty store, shows.
    static void expectNewControl(const txtFrmt& b, const QString& name) {
        EXPECT_EQ(b.text(), name);
        EXPECT_EQ(b.foreColor(), 0u);
        EXPECT_EQ(b.backColor(), 0xFFFFFFu);
        EXPECT_EQ(b.boxFont().family(), QStringLiteral("MS Sans Serif"));
        EXPECT_EQ(b.boxFont().pointSize(), 8);
        EXPECT_EQ(b.borderStyle(), 1);
        EXPECT_EQ(b.dataType(), DataTypes::testo);
        EXPECT_EQ(b.queryStatus(), QueryDest::nessuno);
        EXPECT_TRUE(b.updatable() && b.boxEnabled());
        EXPECT_FALSE(b.locked() || b.multiline());
    }

    ScriptedDialogs dialogs;
    QWidget form;
    txtFrmt* box = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(TxtFrmtTest, NewControlShowsItsNameBlackOnWhiteAndWritesNothing) {
    expectNewControl(*box, QStringLiteral("txtNome"));
    EXPECT_FALSE(single()->isHidden());
    EXPECT_TRUE(multi()->isHidden());
    EXPECT_EQ(single()->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(single()->palette().color(QPalette::Text), QColor(0, 0, 0));

    PropertyBag bag;
    box->writeProperties(bag);
    EXPECT_TRUE(bag.isEmpty()) << bag.keys().join(',').toStdString();
    txtFrmt loaded;
    loaded.setObjectName(QStringLiteral("txtAltro"));
    loaded.setDataType(DataTypes::ora);
    loaded.setMultiline(true);
    loaded.readProperties(PropertyBag());
    expectNewControl(loaded, QStringLiteral("txtAltro"));
}

struct DisplayCase {
    DataTypes type;
    const char* outFormat;
    QVariant value;
    const char* shown;
    int messages;
};

TEST_F(TxtFrmtTest, DisplayByType) {
    const DisplayCase cases[] = {
        {DataTypes::decimale, "", QString(), "0", 0},
        {DataTypes::decimale, "", QStringLiteral(","), "0", 0},
        {DataTypes::decimale, "#,##0.00", QVariant(1234.5), "1.234,50", 0},
        {DataTypes::decimale, "#,##0.00", QString(), "0,00", 0},
        {DataTypes::intero, "", QString(), "", 0},
        {DataTypes::intero, "0000", QVariant(42), "0042", 0},
        {DataTypes::Data, "dd/mm/yyyy", QVariant(0), "", 0},
        {DataTypes::Data, "dd/mm/yyyy", QStringLiteral("0"), "", 0},
        {DataTypes::Data, "dd/mm/yyyy", QStringLiteral("1/2/2024"), "01/02/2024", 0},
        {DataTypes::Data, "dd/mm/yyyy", QStringLiteral("010104"), "01/01/2004", 0},
        {DataTypes::Data, "", QStringLiteral("31122004"), "31/12/2004", 0},
        {DataTypes::Data, "dd/mm/yyyy", QDate(2024, 3, 5), "05/03/2024", 0},
        {DataTypes::Data, "dd/mm/yyyy", QStringLiteral("31/02/2024"), "", 1},
        {DataTypes::ora, "", QStringLiteral("930"), "09.30", 0},
        {DataTypes::ora, "", QStringLiteral("25.61"), "", 1},
        {DataTypes::DataOra, "", QDateTime(QDate(2004, 12, 31), QTime(10, 30, 15)), "31/12/2004 10.30", 0},
        {DataTypes::testo, ">", QStringLiteral("rossi"), "ROSSI", 0},
        {DataTypes::testo, "", QStringLiteral("  a b "), "  a b ", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " format '" << c.outFormat << "' value '"
                                        << c.value.toString().toStdString() << "'");
        dialogs.clear();
        QSignalSpy formatErrors(box, &txtFrmt::FormatError);
        box->setDataType(c.type);
        box->setOutFormat(QString::fromLatin1(c.outFormat));
        box->display(c.value);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.shown));
        EXPECT_EQ(int(dialogs.messages().size()), c.messages);
        EXPECT_EQ(formatErrors.count(), c.messages);
    }
    // Database values, and the length display sets from the output format.
    box->setDataType(DataTypes::DataOra);
    box->setOutFormat({});
    box->display(Value(DateTime{2004, 12, 31, 9, 5, 59}));
    EXPECT_EQ(box->text(), QStringLiteral("31/12/2004 09.05"));
    box->setDataType(DataTypes::decimale);
    box->display(Value::null());
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    box->setDataType(DataTypes::Data);
    box->setOutFormat(QStringLiteral("dd/mm/yyyy"));
    box->display(QStringLiteral("31/12/2004"));
    EXPECT_EQ(box->maxLength(), 10);
}

struct FocusFormatCase {
    DataTypes type;
    const char* inFormat;
    const char* held;
    const char* editing;  // the text while focused
    bool allSelected;
};

TEST_F(TxtFrmtTest, FocusGainedAppliesTheInputFormatAndTheFocusColours) {
    showForm();
    box->setBackColor(0xC0C0C0);
    box->setForeColor(0x000080);
    box->setFocusBackColor(0x00FFFF);  // yellow
    box->setFocusForeColor(0xFF0000);  // blue
    const FocusFormatCase cases[] = {
        {DataTypes::Data, "dd/mm/yyyy", "12", "12", true},             // shorter than 4: kept
        {DataTypes::Data, "dd/mm/yyyy", "1/2/2024", "01/02/2024", true},
        {DataTypes::DataOra, "dd/mm/yyyy hh.mm", "123", "123", true},  // shorter than 4: kept
        {DataTypes::decimale, "0.00", "12", "12,00", true},
        {DataTypes::intero, "", "  7 ", "7", true},
        {DataTypes::testo, ">", " rossi ", "ROSSI", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int(c.type) << " held '" << c.held << "'");
        box->setInFormat(QString::fromLatin1(c.inFormat));
        box->setOutFormat({});
        box->setDataType(c.type);
        box->setText(QString::fromLatin1(c.held));
        enter();
        EXPECT_EQ(box->text(), QString::fromLatin1(c.editing));
        if (*c.inFormat) {
            EXPECT_EQ(box->maxLength(), int(strlen(c.inFormat)));
        }
        EXPECT_EQ(box->selStart(), 0);
        EXPECT_EQ(box->selLength(), c.allSelected ? int(box->text().size()) : 0);
        EXPECT_EQ(single()->palette().color(QPalette::Base), QColor(255, 255, 0));
        EXPECT_EQ(single()->palette().color(QPalette::Text), QColor(0, 0, 255));
        box->setInFormat({});
        box->setText({});  // "12" is no date to leave behind
        leave();
        ASSERT_TRUE(other->hasFocus());
        EXPECT_EQ(single()->palette().color(QPalette::Base), QColor(192, 192, 192));
        EXPECT_EQ(single()->palette().color(QPalette::Text), QColor(128, 0, 0));
    }
    EXPECT_EQ(box->backColor(), 0xC0C0C0u);
}

TEST_F(TxtFrmtTest, FocusLostShowsTheValueInDisplayFormAndAnInvalidDateIsEmptiedKeepingTheFocus) {
    showForm();
    QSignalSpy formatErrors(box, &txtFrmt::FormatError);
    box->setDataType(DataTypes::Data);
    box->setOutFormat(QStringLiteral("dd/mm/yyyy"));
    typeAndLeave(QStringLiteral("010104"));
    EXPECT_EQ(box->text(), QStringLiteral("01/01/2004"));
    EXPECT_TRUE(other->hasFocus());

    typeAndLeave(QStringLiteral("31/02/2024"));
    EXPECT_EQ(box->text(), QString());
    EXPECT_TRUE(single()->hasFocus());
    EXPECT_EQ(formatErrors.count(), 1);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, "Immettere la data nel formato 'gg/mm/aaaa'");
    EXPECT_EQ(dialogs.messages()[0].title, "DATA NON VALIDA");
}

TEST_F(TxtFrmtTest, QueryModeLiftsTheLengthBuildsTheConditionAndDoesNotFormat) {
    showForm();
    box->setMaxLength(5);
    box->setOutFormat(QStringLiteral(">"));
    box->setInFormat(QStringLiteral(">"));
    box->setDataField(QStringLiteral("RAGSOC"));
    box->setQueryStatus(QueryDest::Selezione);
    box->setText({});
    enter();
    EXPECT_EQ(box->maxLength(), 0);
    QTest::keyClicks(single(), QStringLiteral("o'brien rossi"));
    EXPECT_EQ(box->text(), QStringLiteral("o'brien rossi"));  // longer than 5, not upper-cased
    leave();
    EXPECT_EQ(box->maxLength(), 5);
    EXPECT_EQ(box->text(), QStringLiteral("o'brien rossi"));
    EXPECT_EQ(box->queryString(), QStringLiteral("RAGSOC LIKE '%o''brien rossi%'"));

    box->setQueryStatus(QueryDest::Crystal_Reports);
    enter();
    single()->setText(QStringLiteral("|a|b|"));
    leave();
    EXPECT_EQ(box->queryString(), QStringLiteral("( {RAGSOC} = 'a' OR {RAGSOC} = 'b' )"));

    // A refused value keeps the focus, stays for correction and leaves no condition.
    box->setInFormat({});
    box->setOutFormat({});
    box->setDataType(DataTypes::Data);
    box->setDataField(QStringLiteral("DATA"));
    box->setQueryStatus(QueryDest::Selezione);
    typeAndLeave(QStringLiteral("31/02/2024"));
    EXPECT_EQ(box->queryString(), QString());
    EXPECT_TRUE(single()->hasFocus());
    EXPECT_EQ(box->text(), QStringLiteral("31/02/2024"));
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[1].text, "Immettere la data nel formato 'GG/MM/AAAA'");
}

TEST_F(TxtFrmtTest, EnterBreaksTheLineOnlyInTheMultiLineBoxAndSwitchingKeepsTheText) {
    showForm();
    box->setText({});
    QSignalSpy returns(single(), &QLineEdit::returnPressed);
    enter();
    QTest::keyClicks(single(), QStringLiteral("ab"));
    QTest::keyClick(single(), Qt::Key_Return);
    QTest::keyClicks(single(), QStringLiteral("c"));
    EXPECT_EQ(box->text(), QStringLiteral("abc"));
    EXPECT_EQ(returns.count(), 0);

    box->setMultiline(true);
    box->setText({});
    enter();
    QTest::keyClicks(multi(), QStringLiteral("ab"));
    QTest::keyClick(multi(), Qt::Key_Return);
    QTest::keyClicks(multi(), QStringLiteral("c"));
    EXPECT_EQ(box->text(), QStringLiteral("ab\r\nc"));
    EXPECT_EQ(box->selStart(), 5);

    // Switching keeps the text; both boxes fill the control.
    box->setMultiline(false);
    box->resize(200, 50);
    box->setText(QStringLiteral("riga uno"));
    box->setMultiline(true);
    box->resize(150, 60);
    EXPECT_EQ(single()->geometry(), QRect(0, 0, 150, 60));
    EXPECT_EQ(multi()->geometry(), QRect(0, 0, 150, 60));
    EXPECT_TRUE(single()->isHidden());
    EXPECT_FALSE(multi()->isHidden());
    EXPECT_EQ(box->text(), QStringLiteral("riga uno"));
    multi()->setPlainText(QStringLiteral("riga uno\nriga due"));
    EXPECT_EQ(box->text(), QStringLiteral("riga uno\r\nriga due"));
    box->setDataType(DataTypes::intero);
    box->setMultiline(false);
    EXPECT_FALSE(single()->isHidden());
    EXPECT_TRUE(multi()->isHidden());
    EXPECT_EQ(box->text(), QStringLiteral("riga uno\r\nriga due"));
    EXPECT_TRUE(single()->alignment() & Qt::AlignRight);
    box->setDataType(DataTypes::testo);
    EXPECT_TRUE(single()->alignment() & Qt::AlignLeft);

    box->setText(QStringLiteral("abcdef"));
    box->setSelStart(2);
    box->setSelLength(3);
    EXPECT_EQ(box->selText(), QStringLiteral("cde"));
    box->setSelText(QStringLiteral("X"));
    EXPECT_EQ(box->text(), QStringLiteral("abXf"));
    EXPECT_EQ(box->selStart(), 3);
}

TEST_F(TxtFrmtTest, TypingGoesThroughTheMaskTheLockTheHandlerAndTheLength) {
    showForm();
    box->setText({});
    box->setInputMask(QStringLiteral("L"));
    std::vector<int> pressed;
    QObject::connect(box, &txtFrmt::KeyPress, box, [&](int& k) { pressed.push_back(k); });
    enter();
    QTest::keyClicks(single(), QStringLiteral("a1b"));
    EXPECT_EQ(box->text(), QStringLiteral("AB"));
    EXPECT_EQ(dialogs.beeps, 1);
    EXPECT_EQ(pressed, (std::vector<int>{'A', 0, 'B'}));

    box->setInputMask(QStringLiteral("NN/NN/NNNN"));
    box->setText({});
    enter();
    QTest::keyClicks(single(), QStringLiteral("1212"));
    EXPECT_EQ(box->text(), QStringLiteral("12/12"));
    QTest::keyClick(single(), Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("12/1"));

    // A locked box takes no typing, even through the mask; KeyPress still comes.
    box->setText(QStringLiteral("12"));
    box->setLocked(true);
    single()->setCursorPosition(2);
    pressed.clear();
    QTest::keyClicks(single(), QStringLiteral("3a"));
    QTest::keySequence(single(), QKeySequence::Paste);
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    EXPECT_EQ(pressed.size(), 2u);
    box->setLocked(false);

    // A handler can drop a key; typing stops at the maximum length.
    box->setInputMask({});
    QObject::connect(box, &txtFrmt::KeyPress, box, [](int& k) {
        if (k == 'x') k = 0;
    });
    typeAndLeave(QStringLiteral("axb"));
    EXPECT_EQ(box->text(), QStringLiteral("ab"));
    dialogs.beeps = 0;
    box->setMaxLength(3);
    typeAndLeave(QStringLiteral("abcde"));
    EXPECT_EQ(box->text(), QStringLiteral("abc"));
    EXPECT_EQ(dialogs.beeps, 2);

    // In query mode the query mask rules, and it lets criterion operators through.
    box->setMaxLength(0);
    box->setText({});
    box->setDataType(DataTypes::intero);
    box->setDataField(QStringLiteral("ANNO"));
    box->setQueryMask(QStringLiteral("N"));
    box->setInputMask(QStringLiteral("L"));
    box->setQueryStatus(QueryDest::Selezione);
    dialogs.beeps = 0;
    enter();
    QTest::keyClicks(single(), QStringLiteral(">2003x"));
    EXPECT_EQ(box->text(), QStringLiteral(">2003"));
    EXPECT_EQ(dialogs.beeps, 1);
    leave();
    EXPECT_EQ(box->queryString(), QStringLiteral("ANNO > 2003"));
}

TEST_F(TxtFrmtTest, PasteIntoAMaskedBoxIsFiltered) {
    showForm();
    box->setText({});
    box->setInputMask(QStringLiteral("N"));
    QString pasted;
    for (int i = 0; i < 100; ++i) pasted += QStringLiteral("9x.-a");  // 500 characters
    QGuiApplication::clipboard()->setText(pasted);
    enter();
    QTest::keySequence(single(), QKeySequence::Paste);
    EXPECT_EQ(box->text().size(), 300);
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("9,-9,-")));
    EXPECT_EQ(dialogs.beeps, 1);

    box->setText({});
    box->setMaxLength(10);
    enter();
    QTest::keySequence(single(), QKeySequence::Paste);
    EXPECT_EQ(box->text(), QStringLiteral("9,-9,-9,-9"));

    box->setMaxLength(0);
    box->setMultiline(true);
    box->setText({});
    box->setInputMask(QStringLiteral("I"));
    QGuiApplication::clipboard()->setText(QStringLiteral("12\nab-3"));
    dialogs.beeps = 0;
    enter();
    QTest::keySequence(multi(), QKeySequence::Paste);
    EXPECT_EQ(box->text(), QStringLiteral("12-3")) << "the multi-line box filters too";
    EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(TxtFrmtTest, PropertiesSurviveASaveAndLoadWithKeysInAnotherCase) {
    QFont f(QStringLiteral("Arial"), 11);
    f.setItalic(true);
    f.setUnderline(true);
    f.setStrikeOut(true);
    f.setWeight(QFont::Bold);
    box->setBoxFont(f);
    // In the order a form sets them: the text before the type and the box kind.
    const std::pair<const char*, QVariant> props[] = {
        {"InputMask", QStringLiteral("NN/NN/NNNN")}, {"InFormat", QStringLiteral("dd/mm/yyyy")},
        {"OutFormat", QStringLiteral("dd/mm/yy")},   {"Text", QStringLiteral("01/02/2024")},
        {"MaxLength", 10},                           {"ForeColor", quint32(0x000080)},
        {"BackColor", quint32(0x80000005)},          {"Focus_ForeColor", quint32(0xFF0000)},
        {"Focus_BackColor", quint32(0x00FFFF)},      {"DataType", QVariant::fromValue(DataTypes::Data)},
        {"Multiline", true},                         {"Updatable", false},
        {"QueryStatus", QVariant::fromValue(QueryDest::Crystal_Reports)},
        {"DataField", QStringLiteral("DATA")},       {"QueryMask", QStringLiteral("D")},
        {"Enabled", false},                          {"PassWordChar", QStringLiteral("*")},
        {"BorderStyle", 0},                          {"Locked", true},
    };
    for (const auto& [name, value] : props)
        ASSERT_TRUE(box->setProperty(name, value)) << name;

    PropertyBag saved;
    box->writeProperties(saved);
    EXPECT_TRUE(saved.keys().contains(QStringLiteral("DataType")));
    EXPECT_TRUE(saved.keys().contains(QStringLiteral("MultiLine")));
    // The host's store hands the keys back in another case.
    PropertyBag reloaded;
    for (const QString& k : saved.keys()) reloaded.write(k.toUpper(), saved.read(k));

    txtFrmt copy;
    copy.setObjectName(QStringLiteral("txtNome"));
    copy.readProperties(reloaded);
    for (const auto& [name, value] : props)
        EXPECT_EQ(copy.property(name), value) << name;
    EXPECT_EQ(copy.boxFont().family(), QStringLiteral("Arial"));
    EXPECT_EQ(copy.boxFont().pointSize(), 11);
    EXPECT_TRUE(copy.boxFont().italic() && copy.boxFont().underline() && copy.boxFont().strikeOut());
    EXPECT_TRUE(copy.boxFont().bold());
}

TEST_F(TxtFrmtTest, KeyEventsReachTheHost) {
    showForm();
    box->setText({});
    std::vector<std::pair<int, int>> downs, ups;
    QObject::connect(box, &txtFrmt::KeyDown, box, [&](int& code, int& shift) { downs.emplace_back(code, shift); });
    QObject::connect(box, &txtFrmt::KeyUp, box, [&](int& code, int& shift) { ups.emplace_back(code, shift); });
    QSignalSpy changes(box, &txtFrmt::Change);
    enter();
    QTest::keyClick(single(), Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(single(), Qt::Key_F2);
    QTest::keyClick(single(), Qt::Key_Left, Qt::ControlModifier);
    // The modifier keys themselves go down and up too, as they did in the original.
    const std::vector<std::pair<int, int>> expectedDowns{{16, 1}, {'A', 1}, {113, 0}, {17, 2}, {37, 2}};
    const std::vector<std::pair<int, int>> expectedUps{{'A', 1}, {16, 0}, {113, 0}, {37, 2}, {17, 0}};
    EXPECT_EQ(downs, expectedDowns);
    EXPECT_EQ(ups, expectedUps);
    EXPECT_EQ(changes.count(), 1);  // only the letter changed the text
    EXPECT_EQ(box->text().size(), 1);
}

}  // namespace
}  // namespace zq
