#include "app/gui/formregistry.h"

#include "app/gui/formgeometry.h"
#include "app/gui/frmmain.h"
#include "guitest.h"
#include "recordinglogin.h"

#include <QAction>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>

#include <memory>

namespace zq {
namespace {

using test::GuiTest;
using test::RecordingLogin;

class FormRegistryTest : public GuiTest {
protected:
    static bool stored(const QString& section) {
        QSettings s(QString::fromUtf8(kSettingsOrganisation), QStringLiteral("zel_QUIRNOVA"));
        return s.contains(section + QStringLiteral("/MainLeft"));
    }
    static FormGeometry read(const QString& section) {
        return FormGeometry::read(section, FormGeometry{-1, -1, -1, -1});
    }
    RecordingLogin login;
};

// Names a form and gives it an x_Form, as the forms do for their own section.
QDialog& named(QDialog& form, const char* name, const char* xForm = nullptr) {
    form.setObjectName(QString::fromLatin1(name));
    if (xForm)
        form.setProperty("x_Form", xForm);
    return form;
}

class frmAggP : public QDialog {
    Q_OBJECT
};

TEST_F(FormRegistryTest, SectionIsTheFormNameAndItsXForm) {
    QDialog conf;
    EXPECT_EQ(formSection(&named(conf, "frmConf", "0")), QStringLiteral("frmConf0"));
    conf.setProperty("x_Form", QVariant());
    EXPECT_EQ(formSection(&conf), QStringLiteral("frmConf"));
    frmAggP unnamed;
    unnamed.setProperty("x_Form", "0");
    EXPECT_EQ(formSection(&unnamed), QStringLiteral("frmAggP0"));
}

TEST_F(FormRegistryTest, WindowGeometryDefaultsStoredAndUnreadableValues) {
    QDialog form;
    OpenForm(&named(form, "frmCGru", "0"));
    EXPECT_EQ(form.pos(), QPoint(67, 67));
    EXPECT_EQ(form.size(), QSize(433, 233));  // 6500 x 3500 twips
    ClosForm(&form);

    FormGeometry{1500, 3000, 4500, 6000}.write(QStringLiteral("frmCGru0"));
    QDialog again;
    OpenForm(&named(again, "frmCGru", "0"));
    EXPECT_EQ(again.pos(), QPoint(100, 200));
    EXPECT_EQ(again.size(), QSize(300, 400));
    ClosForm(&again);

    // An unreadable stored value falls back to the default.
    {
        QSettings s(QString::fromUtf8(kSettingsOrganisation), QStringLiteral("zel_QUIRNOVA"));
        s.setValue("frmX/MainLeft", "abc");
        s.setValue("frmX/MainTop", "1500,0");
    }
    QDialog unreadable;
    OpenForm(&named(unreadable, "frmX"));
    EXPECT_EQ(unreadable.pos(), QPoint(67, 100));
}

TEST_F(FormRegistryTest, GeometrySavedOnlyInTheNormalState) {
    const struct {
        const char* name;
        Qt::WindowState state;
        bool saved;
    } cases[] = {{"frmNorm", Qt::WindowNoState, true},
                 {"frmMaxi", Qt::WindowMaximized, false},
                 {"frmMini", Qt::WindowMinimized, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDialog form;
        OpenForm(&named(form, c.name));
        form.show();
        form.move(30, 45);
        form.resize(200, 100);
        form.setWindowState(c.state);
        ClosForm(&form);
        EXPECT_EQ(stored(QString::fromLatin1(c.name)), c.saved);
        if (c.saved) { EXPECT_EQ(read(QString::fromLatin1(c.name)), (FormGeometry{450, 675, 3000, 1500})); }
    }
}

TEST_F(FormRegistryTest, MdiChildSavesItsFrameGeometryOnlyWhenNormal) {
    frmMain main(login, {});
    main.show();
    for (bool maximise : {false, true}) {
        SCOPED_TRACE(maximise);
        const QString name = maximise ? QStringLiteral("frmBig") : QStringLiteral("frmSmall");
        auto* form = new QWidget;
        form->setObjectName(name);
        QMdiSubWindow* sub = main.mdiArea()->addSubWindow(form);
        OpenForm(form);
        sub->show();
        EXPECT_EQ(sub->pos(), QPoint(0, 0));
        if (maximise) {
            sub->showMaximized();
        } else {
            sub->move(15, 30);
            sub->resize(150, 120);
        }
        ClosForm(form);
        EXPECT_EQ(stored(name), !maximise);
        if (!maximise) { EXPECT_EQ(read(name), (FormGeometry{225, 450, 2250, 1800})); }
        delete sub;
    }
}

TEST_F(FormRegistryTest, CountsAndMenuEntriesByName) {
    frmMain main(login, {});
    QAction* exit = main.menuEntry(QStringLiteral("mnuFileExit"));
    QAction* free = main.menuEntry(QStringLiteral("mnuGestFree"));
    main.registerChildForm(QStringLiteral("mnuGestFree"), [] { return new QWidget; });
    ASSERT_TRUE(free->isEnabled());

    QDialog a, b;
    OpenForm(&named(a, "frmFree"), QStringLiteral("mnuGestFree"));
    EXPECT_EQ(nForms(), 1);
    EXPECT_FALSE(free->isEnabled());
    EXPECT_FALSE(exit->isEnabled());
    OpenForm(&named(b, "frmOther"));
    EXPECT_EQ(nForms(), 2);
    ClosForm(&a, QStringLiteral("mnuGestFree"));
    EXPECT_EQ(nForms(), 1);
    EXPECT_TRUE(free->isEnabled());
    EXPECT_FALSE(exit->isEnabled());
    ClosForm(&b);
    EXPECT_EQ(nForms(), 0);
    EXPECT_TRUE(exit->isEnabled());
}

TEST_F(FormRegistryTest, WithoutMainWindowOnlyTheGeometryApplies) {
    ASSERT_EQ(MainForm(), nullptr);
    QDialog form;
    OpenForm(&named(form, "frmAlone"), QStringLiteral("mnuGestColl"));
    EXPECT_EQ(form.pos(), QPoint(67, 67));
    EXPECT_EQ(nForms(), 0);
    ClosForm(&form, QStringLiteral("mnuGestColl"));
    EXPECT_TRUE(stored(QStringLiteral("frmAlone")));
}

}  // namespace
}  // namespace zq

#include "formregistry_test.moc"
