#include "config/filedialog.h"
#include "config/qtdialogs.h"
#include "config/sceltadir.h"

#include "guitest.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

#include <memory>

namespace zq {
namespace {

using test::GuiTest;
using test::TempDir;
using test::whenModal;

class PickersTest : public GuiTest {
protected:
    QString root() const { return QString::fromStdString(tree.path().string()); }
    TempDir tree{"zq-pick"};
};

TEST_F(PickersTest, SceltaDirOffersFoldersOnlyAndReturnsTheChoice) {
    QDir(root()).mkpath(QStringLiteral("Archivi/2024"));
    const QString wanted = root() + QStringLiteral("/Archivi/2024");
    QString title;
    bool dirsOnly = false;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    whenModal([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        title = dlg->windowTitle();
        dirsOnly = dlg->testOption(QFileDialog::ShowDirsOnly);
        mode = dlg->fileMode();
        dlg->setDirectory(wanted);
        static_cast<QDialog*>(dlg)->accept();
    });
    EXPECT_EQ(SceltaDir(nullptr, QStringLiteral("Cartella documenti"), root()), wanted);
    EXPECT_EQ(title, QStringLiteral("Cartella documenti"));
    EXPECT_TRUE(dirsOnly);
    EXPECT_EQ(mode, QFileDialog::Directory);
}

TEST_F(PickersTest, SceltaDirCancelledGivesEmptyText) {
    whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(SceltaDir(nullptr, QStringLiteral("x"), root()), QString());

    whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.pickFolder("x", root().toStdString()), std::nullopt);
}

TEST_F(PickersTest, FileDialogCaptionsAndQtsOwnTextsWhereEmpty) {
    std::unique_ptr<QFileDialog> reference(new QFileDialog);
    reference->setOption(QFileDialog::DontUseNativeDialog, true);
    const struct {
        void (FileDialog::*set)(const QString&);
        QFileDialog::DialogLabel label;
        const char* caption;
    } captions[] = {
        {&FileDialog::setOpenCaption, QFileDialog::Accept, "Apri"},
        {&FileDialog::setCancelCaption, QFileDialog::Reject, "Annulla"},
        {&FileDialog::setLookInCaption, QFileDialog::LookIn, "Cerca in:"},
        {&FileDialog::setFileNameCaption, QFileDialog::FileName, "Nome File:"},
        {&FileDialog::setFileTypeCaption, QFileDialog::FileType, "Tipo File:"},
    };
    // Each caption alone: the others keep Qt's texts.
    for (const auto& only : captions) {
        SCOPED_TRACE(only.caption);
        FileDialog fd;
        (fd.*only.set)(QString::fromUtf8(only.caption));
        std::unique_ptr<QFileDialog> dlg(fd.create(nullptr));
        EXPECT_TRUE(dlg->testOption(QFileDialog::DontUseNativeDialog));
        for (const auto& c : captions)
            EXPECT_EQ(dlg->labelText(c.label),
                      &c == &only ? QString::fromUtf8(c.caption) : reference->labelText(c.label)) << c.caption;
    }
}

TEST_F(PickersTest, FiltersAndStartPlace) {
    const auto filters = FileDialog::parseFilter(QStringLiteral(
        "Microsoft Office Access|*.mdb;*.mda;*.mde;*.adp;*.ade|DataBase Microsoft Office Access|*.mdb|Tutti i File|*.*"));
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(FileDialog::nameFilter(filters[0]),
              QStringLiteral("Microsoft Office Access (*.mdb *.mda *.mde *.adp *.ade)"));
    EXPECT_EQ(FileDialog::nameFilter(filters[2]), QStringLiteral("Tutti i File (*)"));

    FileDialog fd;
    fd.setTitle(QStringLiteral("Percorso Database QUIRNOVA"));
    fd.setFilters(filters);
    fd.setFilterIndex(2);
    fd.setStartPath(root());
    fd.setProposedName(QStringLiteral("VIZidore.mdb"));
    fd.setDefaultExtension(QStringLiteral("mdb"));
    std::unique_ptr<QFileDialog> dlg(fd.create(nullptr));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Percorso Database QUIRNOVA"));
    EXPECT_EQ(dlg->selectedNameFilter(), QStringLiteral("DataBase Microsoft Office Access (*.mdb)"));
    EXPECT_EQ(QDir(dlg->directory()).canonicalPath(), QDir(root()).canonicalPath());
    EXPECT_EQ(dlg->defaultSuffix(), QStringLiteral("mdb"));
    EXPECT_EQ(dlg->fileMode(), QFileDialog::ExistingFile);
}

TEST_F(PickersTest, FileDialogReturnsTheChosenFileOrNothing) {
    const QString file = root() + QStringLiteral("/Vizidore.mdb");
    QFile(file).open(QIODevice::WriteOnly);

    whenModal([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->labelText(QFileDialog::Accept), QStringLiteral("Apri"));
        EXPECT_EQ(dlg->labelText(QFileDialog::LookIn), QStringLiteral("Cerca in:"));
        dlg->selectFile(file);
        static_cast<QDialog*>(dlg)->accept();
    });
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.pickFile("Apri archivio", "Database (*.mdb)|*.mdb", root().toStdString()),
              std::optional<std::string>(file.toStdString()));

    whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(dialogs.pickFile("Apri archivio", "Database (*.mdb)|*.mdb", root().toStdString()),
              std::nullopt);
}

}  // namespace
}  // namespace zq
