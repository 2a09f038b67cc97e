#include "config/frmwait.h"
#include "config/loadingpicture.h"
#include "config/waitprogress.h"

#include "guitest.h"

#include <QFile>
#include <QLabel>
#include <QMovie>

namespace zq {
namespace {

using test::GuiTest;
using test::TempDir;

class FrmWaitTest : public GuiTest {
protected:
    QString folder() const { return QString::fromStdString(install.path().string()); }
    void writePicture(const QByteArray& data) {
        QFile f(folder() + QStringLiteral("/Loading.gif"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    TempDir install{"zq-wait"};
};

TEST_F(FrmWaitTest, CaptionAndText) {
    frmWait w(folder());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Attendi per favore..."));
    EXPECT_EQ(w.text(), QStringLiteral("Attendi per favore ..."));
    EXPECT_FALSE(w.isModal());
    auto* label = w.findChild<QLabel*>(QStringLiteral("lblWait"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Attendi per favore ..."));
}

TEST_F(FrmWaitTest, PlaysThePictureOfTheProgramFolderWhileShown) {
    writePicture(loadingGif());
    frmWait w(folder());
    ASSERT_NE(w.movie(), nullptr);
    EXPECT_EQ(w.pictureFile(), folder() + QStringLiteral("/Loading.gif"));
    EXPECT_EQ(w.movie()->state(), QMovie::NotRunning);
    w.show();
    EXPECT_EQ(w.movie()->state(), QMovie::Running);
    auto* pic = w.findChild<QLabel*>(QStringLiteral("Gif89a1"));
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->movie(), w.movie());
    // Shown at three lines of text, from a picture drawn at least that large.
    EXPECT_GE(pic->height(), 3 * w.fontMetrics().height());
    EXPECT_EQ(w.movie()->currentImage().size(), pic->size());
    EXPECT_GE(QImage::fromData(loadingGif()).width(), pic->width());
    w.hide();
    EXPECT_EQ(w.movie()->state(), QMovie::NotRunning);
}

TEST_F(FrmWaitTest, MissingOrBrokenPictureLeavesItEmpty) {
    // The test program's own folder has no picture either, so nothing is found.
    for (const char* picture : {static_cast<const char*>(nullptr), "not a picture"}) {
        SCOPED_TRACE(picture ? picture : "missing");
        if (picture)
            writePicture(picture);
        frmWait w(folder());
        EXPECT_EQ(w.movie(), nullptr);
        if (!picture) { EXPECT_TRUE(w.pictureFile().isEmpty()); }
        w.show();
        EXPECT_TRUE(w.isVisible());
    }
}

TEST_F(FrmWaitTest, ProgressShowsTheWaitWindowUntilTheEnd) {
    WaitProgress progress(folder());
    EXPECT_EQ(progress.window(), nullptr);
    progress.begin();
    ASSERT_NE(progress.window(), nullptr);
    EXPECT_TRUE(progress.window()->isVisible());
    EXPECT_EQ(progress.window()->text(), QStringLiteral("Attendi per favore ..."));
    // Work goes on: neither the close box nor Escape takes the window away.
    EXPECT_FALSE(progress.window()->close());
    progress.window()->reject();
    EXPECT_TRUE(progress.window()->isVisible());
    progress.setLabel("Conversione Documenti (3 di 10)");
    EXPECT_EQ(progress.window()->text(), QStringLiteral("Conversione Documenti (3 di 10)"));
    QPointer<frmWait> shown = progress.window();
    progress.end();
    EXPECT_TRUE(shown.isNull());
    EXPECT_EQ(progress.window(), nullptr);
    progress.end();  // a second end is harmless

    progress.begin("Copia in corso");
    EXPECT_EQ(progress.window()->text(), QStringLiteral("Copia in corso"));
}

}  // namespace
}  // namespace zq
