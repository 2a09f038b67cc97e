#include "optionctl/lumechoice_factory.h"

#include "optionctl/optsino.h"

#include <QApplication>
#include <QLibrary>

#include <gtest/gtest.h>

#include <memory>

namespace zq {
namespace {

// A form loads the control by identifier from the library file, as it loaded the ActiveX.
TEST(LumechoiceFactory, TheLoadedLibraryCreatesTheControlByIdentifier) {
    static int argc = 1;
    static char name[] = "lumechoice_factory_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    QLibrary lib(QStringLiteral(LUMECHOICE_FILE));
    ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
    using Create = QWidget* (*)(const char*, QWidget*);
    const auto create = reinterpret_cast<Create>(lib.resolve("Lumechoice_CreateControl"));
    ASSERT_NE(create, nullptr);
    for (const char* id : {"Lumechoice.optSiNo", "LUMECHOICE.OPTSINO"}) {
        SCOPED_TRACE(id);
        std::unique_ptr<QWidget> w(create(id, nullptr));
        ASSERT_NE(qobject_cast<optSiNo*>(w.get()), nullptr);
        EXPECT_TRUE(w->setProperty("Value", QStringLiteral("N")));
        EXPECT_EQ(w->property("Value").toString(), QStringLiteral("N"));
    }
    EXPECT_EQ(create("Lumetext.txtFrmt", nullptr), nullptr);
    EXPECT_STREQ(Lumechoice_Identifiers()[0], "Lumechoice.optSiNo");
    EXPECT_EQ(Lumechoice_Identifiers()[1], nullptr);
}

}  // namespace
}  // namespace zq
