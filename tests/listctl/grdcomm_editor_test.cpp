// In-place editors: opening over the current cell, keys inside the editor, writing back.

#include "list_fixture.h"

#include "common/product.h"
#include "listctl/editor_hook.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

namespace zq::test {
namespace {

// A text box built like the formatted text box: a widget whose line edit inside holds
// the focus, and whose value, caret and mask are properties.
class CompositeText : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(int SelStart READ selStart WRITE setSelStart)
    Q_PROPERTY(int SelLength READ selLength WRITE setSelLength)
    Q_PROPERTY(QString InputMask MEMBER mask)

public:
    explicit CompositeText(QWidget* parent) : QWidget(parent), edit(new QLineEdit(this))
    {
        setFocusProxy(edit);
    }
    QString text() const { return edit->text(); }
    void setText(const QString& t) { edit->setText(t); }
    int selStart() const { return edit->cursorPosition(); }
    void setSelStart(int p) { edit->setCursorPosition(p); }
    int selLength() const { return int(edit->selectedText().size()); }
    void setSelLength(int n) { edit->setSelection(edit->cursorPosition(), n); }

    QLineEdit* edit;
    QString mask;
};

class EditorTest : public ListFixture {
protected:
    void SetUp() override
    {
        ListFixture::SetUp();
        start(4, 2);
        list->setCol(2);
        txt = hook(new QLineEdit(form.get()), "txtList");
        // The form's wiring: typed keys open the editor, a cell change commits it.
        QObject::connect(list.get(), &grdComm::KeyPress, [this](int& key) { list->GridEdit(current, key); });
        QObject::connect(list.get(), &grdComm::LeaveCell, [this] { list->AggiGrid(current); });
    }

    /// Hooks a hidden editor of the given name to the list and makes it the one typing opens.
    template <typename W>
    W* hook(W* w, const char* name)
    {
        w->setObjectName(name);
        w->hide();
        new EditorHook(*list, w);
        current = w;
        return w;
    }

    QLineEdit* txt = nullptr;
    QWidget* current = nullptr;
};

TEST_F(EditorTest, TypingOpensTheEditorOverTheCellAndLeavingItCommits)
{
    typeKey(grid, Qt::Key_Backspace, QString(QChar(8)));
    EXPECT_TRUE(txt->isHidden()) << "a control key opens nothing";
    typeChar(grid, QChar('z'));
    ASSERT_TRUE(txt->isVisible());
    EXPECT_TRUE(txt->hasFocus());
    EXPECT_EQ(txt->text(), "z");
    EXPECT_EQ(txt->cursorPosition(), 1);
    EXPECT_EQ(markedRow(), 2);
    EXPECT_EQ(txt->geometry(), grid->cellRect(2, 2).translated(grid->pos())) << "laid exactly over the cell";
    QTest::keyClicks(txt, "ero");
    QTest::keyClick(txt, Qt::Key_Return);
    EXPECT_EQ(list->TextMatrix(2, 2), "zero");
    EXPECT_TRUE(txt->isHidden());
    EXPECT_TRUE(grid->hasFocus());

    // A space opens it on the cell text; Escape abandons the edit.
    typeKey(grid, Qt::Key_Space, " ");
    EXPECT_EQ(txt->text(), "zero");
    QTest::keyClicks(txt, "XYZ");
    QTest::keyClick(txt, Qt::Key_Escape);
    EXPECT_EQ(list->TextMatrix(2, 2), "zero");
    EXPECT_TRUE(txt->isHidden());
    EXPECT_TRUE(grid->hasFocus());

    // Up and Down move the row and commit.
    typeChar(grid, QChar('q'));
    QTest::keyClick(txt, Qt::Key_Down);
    EXPECT_EQ(list->Row(), 3);
    EXPECT_EQ(list->TextMatrix(2, 2), "q");
    EXPECT_EQ(markedRow(), 3);
    typeChar(grid, QChar('w'));
    QTest::keyClick(txt, Qt::Key_Up);
    EXPECT_EQ(list->Row(), 2);
    EXPECT_EQ(list->TextMatrix(3, 2), "w");
}

TEST_F(EditorTest, TheInputMaskFiltersTheOpeningKey)
{
    const struct {
        const char* mask;
        QChar typed;
        QString opened;
    } cases[] = {
        {"I", QChar('x'), ""}, {"A", QChar(0xE8), QString(QChar(0xC8))}, {"", QChar('x'), "x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        txt->setProperty("InputMask", QString::fromLatin1(c.mask));
        txt->setText("old");
        typeChar(grid, c.typed);
        EXPECT_TRUE(txt->isVisible()) << "a rejected key still opens the editor";
        EXPECT_EQ(txt->text(), c.opened);
        QTest::keyClick(txt, Qt::Key_Escape);
    }
    EXPECT_EQ(list->TextMatrix(2, 2), "D2");
}

TEST_F(EditorTest, LeftAndRightMoveTheCaretFirstThenTheColumn)
{
    typeKey(grid, Qt::Key_Space, " ");
    txt->setText("abc");
    txt->setCursorPosition(2);
    QTest::keyClick(txt, Qt::Key_Left);
    EXPECT_EQ(list->Col(), 2);
    EXPECT_EQ(txt->cursorPosition(), 1);
    txt->setCursorPosition(0);
    QTest::keyClick(txt, Qt::Key_Left);
    EXPECT_EQ(list->Col(), 1);
    EXPECT_TRUE(txt->isHidden());
    EXPECT_EQ(list->TextMatrix(2, 2), "abc") << "leaving the cell commits the editor";

    // Column 1 is the first data column: Left at caret 0 stays there.
    typeKey(grid, Qt::Key_Space, " ");
    txt->setCursorPosition(0);
    QTest::keyClick(txt, Qt::Key_Left);
    EXPECT_EQ(list->Col(), 1);
    EXPECT_TRUE(txt->isVisible());

    // Right moves the caret to the end first, then to the next column.
    txt->setText("ab");
    txt->setCursorPosition(1);
    QTest::keyClick(txt, Qt::Key_Right);
    EXPECT_EQ(list->Col(), 1);
    QTest::keyClick(txt, Qt::Key_Right);
    EXPECT_EQ(list->Col(), 2);
    EXPECT_TRUE(txt->isHidden());
}

TEST_F(EditorTest, DownOnTheLastRowAppendsBelowMaxRowsAndSaysEndOfListAtIt)
{
    list->setRow(4);
    typeChar(grid, QChar('k'));
    QTest::keyClick(txt, Qt::Key_Down);
    EXPECT_EQ(list->Rows(), 5) << "an unlimited list appends nothing here";
    ASSERT_EQ(dialogs.messages().size(), 1u);
    expectMessage(dialogs.messages()[0], {"Fine dell'elenco.", kProductName, Buttons::Ok, Icon::Exclamation});
    EXPECT_TRUE(txt->isVisible()) << "the edit stays open";

    list->setMaxRows(6);
    dialogs.clear();
    auto appended = count(&grdComm::RowAppended);
    QTest::keyClick(txt, Qt::Key_Down);
    EXPECT_EQ(list->Rows(), 6);
    EXPECT_EQ(list->Row(), 5);
    EXPECT_EQ(*appended, 1);
    EXPECT_EQ(list->TextMatrix(4, 2), "k");
    EXPECT_EQ(list->bkmk(5), 0);
    EXPECT_EQ(list->ColHeight(5), 315.0);
    EXPECT_TRUE(dialogs.messages().empty());

    typeChar(grid, QChar('m'));
    QTest::keyClick(txt, Qt::Key_Down);
    EXPECT_EQ(list->Rows(), 6);
    EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{"Fine dell'elenco."}));
}

TEST_F(EditorTest, HiddenEditorsUnknownKindsAndFixedRowsAreIgnored)
{
    txt->setText("never");
    list->AggiGrid(txt);
    EXPECT_EQ(list->TextMatrix(2, 2), "D2");
    list->AggiGrid(nullptr);

    QLineEdit other(form.get());
    other.setObjectName("picFoto");
    other.hide();
    list->GridEdit(&other, 'a');
    EXPECT_TRUE(other.isHidden());
    list->setRow(0);
    list->GridEdit(txt, 'a');
    EXPECT_TRUE(txt->isHidden());
}

TEST_F(EditorTest, ComboSelectsTheMatchingEntryAndWritesItsTrimmedText)
{
    auto* cmb = new QComboBox(form.get());
    cmb->addItems({"Alfa  ", "Beta ", "beta due"});
    hook(cmb, "cmbTipo");
    typeChar(grid, QChar('b'));
    ASSERT_TRUE(cmb->isVisible());
    EXPECT_EQ(cmb->currentIndex(), 1);
    EXPECT_EQ(cmb->x(), grid->x() + grid->cellRect(2, 2).x());
    EXPECT_EQ(cmb->width(), grid->cellRect(2, 2).width());
    QTest::keyClick(cmb, Qt::Key_Return);
    EXPECT_EQ(list->TextMatrix(2, 2), "Beta");

    list->setTextMatrix(2, 2, "alfa");
    typeKey(grid, Qt::Key_Space, " ");
    EXPECT_EQ(cmb->currentIndex(), 0);
    QTest::keyClick(cmb, Qt::Key_Delete);
    EXPECT_EQ(cmb->currentIndex(), -1);
    EXPECT_TRUE(cmb->isHidden());

    typeChar(grid, QChar('z'));
    EXPECT_EQ(cmb->currentIndex(), -1) << "no entry starts with Z";
}

TEST_F(EditorTest, ListBoxTakesTheCellTextAsItsValue)
{
    auto* lst = hook(new QListWidget(form.get()), "lstScelta");
    lst->addItems({"uno", "D2", "tre"});
    lst->resize(80, 60);
    typeKey(grid, Qt::Key_Space, " ");
    ASSERT_TRUE(lst->isVisible());
    EXPECT_EQ(lst->size(), QSize(80, 60)) << "a list box keeps its size";
    EXPECT_EQ(lst->currentRow(), 1);
    lst->setCurrentRow(2);
    QTest::keyClick(lst, Qt::Key_Down);
    EXPECT_EQ(list->Row(), 2) << "Up and Down belong to the list box";
    QTest::keyClick(lst, Qt::Key_Return);
    EXPECT_EQ(list->TextMatrix(2, 2), "tre");
}

TEST_F(EditorTest, ACompositeTextBoxWorksThroughItsProperties)
{
    auto* box = hook(new CompositeText(form.get()), "txtFrmtCodice");
    box->mask = "A";
    typeChar(grid, QChar('x'));
    ASSERT_TRUE(box->isVisible());
    EXPECT_TRUE(box->edit->hasFocus());
    EXPECT_EQ(box->text(), "X");
    EXPECT_EQ(box->selStart(), 1);
    QTest::keyClicks(box->edit, "yz");
    QTest::keyClick(box->edit, Qt::Key_Return);
    EXPECT_EQ(list->TextMatrix(2, 2), "Xyz");
    EXPECT_TRUE(box->isHidden());

    typeKey(grid, Qt::Key_Space, " ");
    box->setSelStart(0);
    QTest::keyClick(box->edit, Qt::Key_Left);
    EXPECT_EQ(list->Col(), 1) << "one key, one column";
    EXPECT_TRUE(box->isHidden());
}

class FrameTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        frame = new QGroupBox(form.get());
        frame->resize(120, 40);
        optSi = new QRadioButton("Si", frame);
        optSi->setProperty("Tag", "S");
        optSi->move(4, 4);
        optNo = new QRadioButton("No", frame);
        optNo->setProperty("Tag", "N");
        optNo->move(60, 4);
        outside = new QRadioButton("Altro", form.get());
        outside->setProperty("Tag", "S");
        outside->hide();
        hook(frame, "fmeScelta");  // after its buttons: the hook watches the children it finds
        QObject::disconnect(list.get(), &grdComm::KeyPress, nullptr, nullptr);
        QObject::connect(list.get(), &grdComm::KeyPress,
                         [this](int& key) { list->GridEdit(frame, key, {outside, optNo, optSi}); });
        list->setTextMatrix(2, 2, "");
    }

    QGroupBox* frame = nullptr;
    QRadioButton* optSi = nullptr;
    QRadioButton* optNo = nullptr;
    QRadioButton* outside = nullptr;
};

TEST_F(FrameTest, ATypedCodeGoesStraightIntoTheCellASpaceOpensTheFrame)
{
    typeChar(grid, QChar('s'));
    EXPECT_EQ(list->TextMatrix(2, 2), "S");
    EXPECT_TRUE(frame->isHidden());
    typeChar(grid, QChar('x'));
    EXPECT_EQ(list->TextMatrix(2, 2), "S") << "no option has code X";
    EXPECT_EQ(frame->property("Tag").toString(), "");

    list->setTextMatrix(2, 2, "");
    typeKey(grid, Qt::Key_Space, " ");
    ASSERT_TRUE(frame->isVisible());
    EXPECT_TRUE(optNo->isChecked()) << "the lowest index among the frame's own buttons";
    EXPECT_TRUE(optNo->hasFocus());
    EXPECT_FALSE(outside->isChecked());
    EXPECT_EQ(frame->property("Tag").toString(), "N");
    EXPECT_EQ(frame->pos(), grid->pos() + grid->cellRect(2, 2).topLeft());
    QTest::keyClick(optNo, Qt::Key_Return);
    EXPECT_EQ(list->TextMatrix(2, 2), "N");
    EXPECT_TRUE(frame->isHidden());

    list->setTextMatrix(2, 2, "s");
    typeKey(grid, Qt::Key_Space, " ");
    EXPECT_TRUE(optSi->isChecked()) << "a filled cell picks its own code";
    EXPECT_EQ(frame->property("Tag").toString(), "S");
}

TEST_F(EditorTest, CheckBoxKeysTickClearAndToggleItAndItIsNeverWrittenBack)
{
    auto* chk = hook(new QCheckBox(form.get()), "chkFlag");
    chk->resize(16, 16);
    const struct {
        QChar key;
        bool before;
        bool after;
    } cases[] = {
        {QChar('s'), false, true}, {QChar('y'), false, true}, {QChar('N'), true, false},
        {QChar(' '), false, true}, {QChar(' '), true, false}, {QChar('q'), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString(c.key).toStdString() + (c.before ? " on" : " off"));
        chk->setChecked(c.before);
        if (c.key == QChar(' '))
            typeKey(grid, Qt::Key_Space, " ");
        else
            typeChar(grid, c.key);
        EXPECT_TRUE(chk->isVisible());
        EXPECT_EQ(chk->isChecked(), c.after);
        grid->setFocus();
    }

    const QRect cell = grid->cellRect(2, 2).translated(grid->pos());
    EXPECT_EQ(chk->x(), cell.x() + (cell.width() - 16) / 2);
    EXPECT_EQ(chk->y(), cell.y() + (cell.height() - 16) / 2);
    QTest::keyClick(chk, Qt::Key_Return);
    EXPECT_EQ(list->TextMatrix(2, 2), "D2");
    EXPECT_TRUE(chk->isVisible()) << "Enter leaves a check box where it is";
    EXPECT_TRUE(grid->hasFocus());
}

}  // namespace
}  // namespace zq::test

#include "grdcomm_editor_test.moc"
