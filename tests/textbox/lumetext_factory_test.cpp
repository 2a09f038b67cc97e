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

// A form loads the control by identifier from the library file and sets its properties
// by name, as it did with the ActiveX.
TEST(LumetextFactory, TheLoadedLibraryCreatesTheTextBoxWhosePropertiesGoByName) {
    static int argc = 1;
    static char name[] = "lumetext_factory_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    QLibrary lib(QStringLiteral(LUMETEXT_FILE));
    ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
    using Create = QWidget* (*)(const char*, QWidget*);
    const auto create = reinterpret_cast<Create>(lib.resolve("Lumetext_CreateControl"));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create("Lumechoice.optSiNo", nullptr), nullptr);
    EXPECT_EQ(create(nullptr, nullptr), nullptr);
    EXPECT_STREQ(Lumetext_Identifiers()[0], "Lumetext.txtFrmt");
    EXPECT_EQ(Lumetext_Identifiers()[1], nullptr);
    for (const char* id : {"Lumetext.txtFrmt", "lumetext.TXTFRMT"}) {
        SCOPED_TRACE(id);
        std::unique_ptr<QWidget> w(create(id, nullptr));
        auto* box = qobject_cast<txtFrmt*>(w.get());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(w->setProperty("DataType", 2));
        EXPECT_EQ(box->dataType(), DataTypes::Data);
        EXPECT_TRUE(w->setProperty("QueryStatus", QStringLiteral("Crystal_Reports")));
        EXPECT_EQ(box->queryStatus(), QueryDest::Crystal_Reports);
        const QMetaObject* mo = w->metaObject();
        EXPECT_STREQ(mo->classInfo(mo->indexOfClassInfo("Description")).value(),
                     "Casella di Testo Personalizzata (ADO)");
        EXPECT_TRUE(mo->property(mo->indexOfProperty("DataType")).isEnumType());
        EXPECT_GE(mo->indexOfMethod("display(QVariant)"), 0);
    }
}

}  // namespace
}  // namespace zq
