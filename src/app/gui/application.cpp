#include "app/gui/application.h"

#include "common/error.h"
#include "common/product.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace zq {
namespace {

[[noreturn]] void endNow(int code) {
    std::fflush(nullptr);
    // At once: no window's close handler may run, so no logout reaches the database.
    std::_Exit(code);
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The toolkit's own dialogs (folder and file pickers, standard buttons) speak the
    // operators' language whatever the desktop's locale. Without the translations
    // installed they stay in English; nothing else depends on them.
    auto* toolkit = new QTranslator(this);
    if (toolkit->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(toolkit);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const AbortProgram& a) {
        endNow(a.exitCode());
    } catch (const Error& e) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle),
                              QStringLiteral("%1 - %2").arg(e.number()).arg(QString::fromStdString(e.description())));
        endNow(1);
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kAppTitle), QString::fromLocal8Bit(e.what()));
        endNow(1);
    }
}

}  // namespace zq
