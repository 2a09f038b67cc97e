#include "list_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace zq::test {

void ensureApplication()
{
    if (QApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "listctl_widget_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

void typeKey(QWidget* target, int qtKey, const QString& text, Qt::KeyboardModifiers mods)
{
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(target, &release);
}

void typeChar(QWidget* target, QChar ch)
{
    const QChar upper = ch.toUpper();
    const int key = upper.unicode() < 128 ? int(upper.unicode()) : int(Qt::Key_unknown);
    typeKey(target, key, QString(ch));
}

void ListFixture::SetUp()
{
    ensureApplication();
    form = std::make_unique<QWidget>();
    form->resize(900, 500);
    grid = new FlexGrid(form.get());
    // 3000 twips = 200 pixels high.
    grid->setGeometry(20, 30, 700, 200);
    form->show();
    list = std::make_unique<grdComm>(dialogs);
}

void ListFixture::init(int maxRows, int rowHeight, int newRowCol)
{
    list->InitGrid(grid, maxRows, "Elenco prova", kFormat, newRowCol, 300, 450, rowHeight);
}

void ListFixture::fill(int n, const std::vector<int>& keys)
{
    list->InitBkmk();
    list->setRows(list->FixedRows() + 1);
    for (int c = list->FixedCols(); c < list->Cols(); ++c)
        list->setTextMatrix(list->FixedRows(), c, QString());
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            list->AddNewRw();
        const int row = list->Rows() - 1;
        list->setTextMatrix(row, 1, QStringLiteral("C%1").arg(i));
        list->setTextMatrix(row, 2, QStringLiteral("D%1").arg(i));
        list->setBkmk(row, i <= int(keys.size()) ? keys[std::size_t(i - 1)] : 100 + i);
    }
}

void ListFixture::focusGrid()
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    grid->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(grid->hasFocus());
}

void ListFixture::start(int n, int row)
{
    init(0);
    fill(n);
    focusGrid();
    list->setRow(row);
}

int ListFixture::markedRow() const
{
    int marked = -1;
    for (int r = list->FixedRows(); r < list->Rows(); ++r) {
        const QString m = list->TextMatrix(r, 0);
        if (m.isEmpty())
            continue;
        if (m != ">>" || marked != -1)
            return -2;
        marked = r;
    }
    return marked;
}

std::string ListFixture::rowText(int row) const
{
    return (list->TextMatrix(row, 1) + "|" + list->TextMatrix(row, 2) + "|" + list->TextMatrix(row, 3))
        .toStdString();
}

}  // namespace zq::test
