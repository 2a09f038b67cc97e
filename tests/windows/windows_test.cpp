// Every window of the program opened from its menu entry on a 1280 x 900 screen, at the
// size a first start gives it and at a large one, measured as an operator reads it:
// texts whole, values one line high and shown from their start, pickers wide enough for
// their choice, grids without an empty band and ticks inside their cells, the icon.

#include "form_steps.h"
#include "link_fixture.h"

#include "app/gui/formgeometry.h"
#include "config/qtdialogs.h"
#include "listctl/flex_grid.h"
#include "textbox/txtfrmt.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStyleOptionComboBox>
#include <QTemporaryFile>
#include <QTimer>

#include <algorithm>

namespace zq::test {
namespace {

int advance(const QWidget* w, QString text) { return w->fontMetrics().horizontalAdvance(text.remove(QChar('&'))); }

template <class W>
QList<W*> shown(QWidget* window) {
    QList<W*> out;
    for (W* w : window->findChildren<W*>())
        if (w->isVisibleTo(window)) out.append(w);
    return out;
}

void expectReadable(QWidget* window) {
    SCOPED_TRACE(window->objectName().toStdString());
    EXPECT_EQ(window->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    for (QLabel* l : shown<QLabel>(window))
        if (!l->wordWrap()) EXPECT_GE(l->contentsRect().width(), advance(l, l->text())) << l->text().toStdString();
    for (QPushButton* b : shown<QPushButton>(window)) EXPECT_GE(b->width(), advance(b, b->text()));
    for (txtFrmt* t : shown<txtFrmt>(window)) {
        auto* line = static_cast<QLineEdit*>(t->box(0));
        EXPECT_GE(t->height(), line->sizeHint().height()) << t->objectName().toStdString();
        if (!line->hasFocus()) EXPECT_EQ(line->cursorPosition(), 0) << t->objectName().toStdString();
    }
    for (QComboBox* c : shown<QComboBox>(window)) {
        QStyleOptionComboBox option;
        option.initFrom(c);
        option.editable = c->isEditable();
        const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
        EXPECT_GE(field.width(), advance(c, c->currentText())) << c->currentText().toStdString();
    }
    for (FlexGrid* g : shown<FlexGrid>(window)) {
        const int last = g->columnCount() - 1;
        // No empty band on the right, and the tick column in view without scrolling.
        EXPECT_EQ(g->columnViewportPosition(last) + g->columnWidth(last), g->viewport()->width());
        for (QCheckBox* b : shown<QCheckBox>(window)) {
            if (!b->objectName().startsWith(QLatin1String("chkList"))) continue;
            const QRect r(g->viewport()->mapFromGlobal(b->mapToGlobal(QPoint(0, 0))), b->size());
            EXPECT_EQ(g->columnAt(r.left()), last);
            EXPECT_EQ(g->columnAt(r.right()), last);
            EXPECT_EQ(g->rowAt(r.top()), g->rowAt(r.bottom()));
        }
    }
}

// A box and a folder picker asked for through the program's dialogs (owned by the main
// window) while `form` is open belong to the form.
void expectOwnedBy(QWidget* form, QWidget& main) {
    QtDialogs dialogs(&main);
    QWidget* boxParent = nullptr;
    QWidget* pickerParent = nullptr;
    const auto closeModal = [](QWidget** parent) {
        return [parent] {
            QWidget* modal = QApplication::activeModalWidget();
            *parent = modal->parentWidget();
            modal->close();
        };
    };
    QTimer::singleShot(0, closeModal(&boxParent));
    dialogs.message(Message{"Indicare l'area e il relativo percorso.", "", Buttons::Ok, Icon::Exclamation});
    QTimer::singleShot(0, closeModal(&pickerParent));
    dialogs.pickFolder("Percorso", "");
    EXPECT_EQ(boxParent, form);
    EXPECT_EQ(pickerParent, form);
}

class WindowsTest : public LinkTest {
protected:
    static void SetUpTestSuite() {
        // The screen the issue was seen on; the offscreen platform reads it from a file.
        static QTemporaryFile screen;
        screen.open();
        screen.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1280,"height":900,"logicalDpi":96}]})");
        screen.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName().toUtf8());
        ensureApplication();
    }
    void SetUp() override {
        LinkTest::SetUp();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(settings.path().string()));
    }
    TempDir settings{"zq-windows"};
};

TEST_P(WindowsTest, EveryWindowReadsWholeAtFirstStartAndAtALargeSize) {
    for (const bool large : {false, true}) {
        SCOPED_TRACE(large ? "large" : "first start");
        QSettings(QString::fromUtf8(kSettingsOrganisation), QStringLiteral("zel_QUIRNOVA")).clear();
        if (large) FormGeometry{0, 0, 19200, 13500}.write(QStringLiteral("Settings"));
        MainWindow w(*session, dir_->path());
        const QList<QSize> iconSizes = QApplication::windowIcon().availableSizes();
        for (const QSize size : {QSize(16, 16), QSize(48, 48), QSize(256, 256)}) EXPECT_TRUE(iconSizes.contains(size));
        expectReadable(&w.main());
        for (const char* entry : {"mnuGestColl", "mnuGestCDAV", "mnuGestFree", "mnuGestTiff", "mnuGestMast",
                                  "mnuGestCopy", "mnuGestAnno", "mnuGestGrup"}) {
            SCOPED_TRACE(entry);
            w.main().menuEntry(QString::fromLatin1(entry))->trigger();
            QMdiSubWindow* sub = w.main().mdiArea()->activeSubWindow();
            ASSERT_NE(sub, nullptr);
            QApplication::processEvents();
            // The child fills the inner area and the inner area holds it whole.
            EXPECT_TRUE(w.main().mdiArea()->viewport()->rect().contains(sub->geometry()));
            EXPECT_GE(sub->widget()->width(), sub->widget()->minimumSizeHint().width());
            if (QComboBox* company = sub->widget()->findChild<QComboBox*>(QStringLiteral("cmbFlds_0")))
                if (company->count() > 1) pick(company, 1);
            expectReadable(sub->widget());
            // Every picker says what it holds.
            const QList<QLabel*> labels = shown<QLabel>(sub->widget());
            for (QComboBox* c : shown<QComboBox>(sub->widget()))
                if (c->objectName().startsWith(QLatin1String("cmbFlds")))
                    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [c](QLabel* l) { return l->buddy() == c; }))
                        << c->objectName().toStdString();
            sub->close();
            MainWindow::flushDeletes();
        }
        for (const char* entry : {"mnuFileConf", "mnuFileCGru", "mnuFileAggP"}) {
            SCOPED_TRACE(entry);
            QTimer::singleShot(0, [large, &w] {
                QWidget* form = QApplication::activeModalWidget();
                // The form, and what it opens, stay above the main window.
                EXPECT_EQ(form->parentWidget(), &w.main());
                if (!large) expectOwnedBy(form, w.main());
                if (large) form->resize(1000, 700);
                QApplication::processEvents();
                expectReadable(form);
                if (auto* more = form->findChild<QPushButton*>(QStringLiteral("cmdExplore")))
                    EXPECT_LE(more->width(), 2 * more->sizeHint().width());
                if (auto* help = form->findChild<QWidget*>(QStringLiteral("picCNTR")))
                    EXPECT_LE(help->height(), 2 * help->sizeHint().height());
                if (form->objectName() == QLatin1String("frmAggP"))
                    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("lblFlds_4"))->text(), QStringLiteral("LINUX"));
                form->close();
            });
            w.main().openModal(QString::fromLatin1(entry));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Embedded, WindowsTest, ::testing::Values(TarvKind::Embedded));

}  // namespace
}  // namespace zq::test
