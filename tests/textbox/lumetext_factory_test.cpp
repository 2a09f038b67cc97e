#include "textbox/lumetext_factory.h"

#include "textbox/txtfrmt.h"

#include <QApplication>
#include <QLibrary>
#include <QMetaClassInfo>
#include <QMetaProperty>

#include <gtest/gtest.h>

#include <memory>

namespace zq {
namespace {

void ensureApp() {
    static int argc = 1;
    static char name[] = "lumetext_factory_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

TEST(LumetextFactory, CreatesTheTextBoxByIdentifier) {
    ensureApp();
    for (const char* id : {"Lumetext.txtFrmt", "lumetext.TXTFRMT"}) {
        SCOPED_TRACE(id);
        std::unique_ptr<QWidget> w(Lumetext_CreateControl(id, nullptr));
        ASSERT_NE(w, nullptr);
        EXPECT_NE(qobject_cast<txtFrmt*>(w.get()), nullptr);
    }
    EXPECT_EQ(Lumetext_CreateControl("Lumechoice.optSiNo", nullptr), nullptr);
    EXPECT_EQ(Lumetext_CreateControl(nullptr, nullptr), nullptr);
    EXPECT_EQ(lumetext::identifiers(), QStringList{QStringLiteral("Lumetext.txtFrmt")});
    const char* const* ids = Lumetext_Identifiers();
    EXPECT_STREQ(ids[0], "Lumetext.txtFrmt");
    EXPECT_EQ(ids[1], nullptr);
}

TEST(LumetextFactory, EntryPointIsFoundInTheLoadedLibrary) {
    ensureApp();
    QLibrary lib(QStringLiteral(LUMETEXT_FILE));
    ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
    using Create = QWidget* (*)(const char*, QWidget*);
    const auto create = reinterpret_cast<Create>(lib.resolve("Lumetext_CreateControl"));
    ASSERT_NE(create, nullptr);
    std::unique_ptr<QWidget> w(create("Lumetext.txtFrmt", nullptr));
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(w->metaObject()->className(), "zq::txtFrmt");
    EXPECT_TRUE(w->metaObject()->indexOfProperty("QueryString") >= 0);
    EXPECT_TRUE(w->metaObject()->indexOfMethod("display(QVariant)") >= 0);
}

TEST(LumetextFactory, PropertiesCanBeSetByNameAsTheProgramDoes) {
    ensureApp();
    std::unique_ptr<QWidget> w(lumetext::createControl(QStringLiteral("Lumetext.txtFrmt")));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->setProperty("DataType", 2));
    EXPECT_EQ(static_cast<txtFrmt*>(w.get())->dataType(), DataTypes::Data);
    EXPECT_TRUE(w->setProperty("QueryStatus", QStringLiteral("Crystal_Reports")));
    EXPECT_EQ(static_cast<txtFrmt*>(w.get())->queryStatus(), QueryDest::Crystal_Reports);
    EXPECT_EQ(w->property("DataType").value<DataTypes>(), DataTypes::Data);
    const QMetaObject* mo = w->metaObject();
    EXPECT_STREQ(mo->classInfo(mo->indexOfClassInfo("Description")).value(), "Casella di Testo Personalizzata (ADO)");
    EXPECT_TRUE(mo->property(mo->indexOfProperty("DataType")).isEnumType());
}

}  // namespace
}  // namespace zq
