// Main: creates the main window, logs in from its load step and runs the program.

#include "app/gui/application.h"
#include "app/gui/firststartfrommenu.h"
#include "app/gui/formgeometry.h"
#include "app/gui/formtable.h"
#include "app/gui/frmmain.h"
#include "app/gui/screenshot.h"
#include "app/gui/sessionlogin.h"
#include "app/program_folder.h"
#include "app/session.h"
#include "common/error.h"
#include "common/product.h"
#include "config/qtdialogs.h"
#include "dataaccess/engine_settings.h"
#ifdef ZQ_HAVE_ODBC
#include "dataaccess/odbc/odbc_engine.h"
#endif

#include <QMessageBox>

#include <cstdio>

int main(int argc, char** argv) {
    zq::Application app(argc, argv);
    app.setApplicationName(QString::fromUtf8(zq::kAppTitle));
    app.setOrganizationName(QString::fromUtf8(zq::kSettingsOrganisation));
    const QString screenshotFile = zq::screenshotRequest(app.arguments());

    try {
        const std::filesystem::path folder = zq::programFolder();
        zq::setInstallation(zq::EngineSettings::load(folder));
#ifdef ZQ_HAVE_ODBC
        zq::registerOdbcEngine();
#endif
        zq::QtDialogs dialogs;
        zq::Session session(dialogs, folder);
        zq::SessionLogin login(session);
        zq::frmMain main(login, QString::fromStdString(folder.string()));
        zq::FirstStartFromMenu firstStart(main);
        login.setFirstStartForm(&firstStart);
        dialogs.setOwner(&main);
        zq::registerForms(main, session);
        main.load();
        main.show();
        // A picture is taken unattended: nobody is there to answer the question.
        if (screenshotFile.isEmpty())
            zq::offerCheckAtStart(session);
        if (!screenshotFile.isEmpty())
            zq::scheduleScreenshot(main, screenshotFile, zq::screenshotMenuEntry(app.arguments()));
        return app.exec();
    } catch (const zq::AbortProgram& a) {
        return a.exitCode();
    } catch (const zq::Error& e) {
        QMessageBox::critical(nullptr, QString::fromUtf8(zq::kAppTitle),
                              QStringLiteral("%1 - %2").arg(e.number()).arg(QString::fromStdString(e.description())));
        return 1;
    }
}
