// The pieces the list forms are built from, without a database: the combo a lookup
// fills, the pre-mastering bar and the linked picture.

#include "form_steps.h"

#include "config/barprogress.h"
#include "linking/forms/combopicker.h"
#include "linking/forms/linkedpicture.h"

#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>

namespace zq::test {
namespace {

class PartsTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
};

TEST_F(PartsTest, ThePickerShowsInTheComboWithoutCountingAsAPick) {
    QComboBox combo;
    ComboPicker cp(&combo);
    cp.picker().addItem("<TUTTE>");
    cp.picker().setItemData(cp.picker().addItem("2023"), 1);
    cp.picker().setItemData(cp.picker().addItem("Fatture Acquisto   -  2023"), 2);
    cp.picker().setListIndex(2);
    QSignalSpy picks(&combo, &QComboBox::activated);
    QSignalSpy changes(&combo, &QComboBox::currentIndexChanged);
    cp.show();
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_EQ(combo.currentText(), "Fatture Acquisto   -  2023");
    EXPECT_EQ(combo.itemData(1).toLongLong(), 1);
    EXPECT_EQ(picks.count(), 0);
    EXPECT_EQ(changes.count(), 0);

    // The person picks; the picker learns it before a lookup reads it.
    combo.setCurrentIndex(1);
    EXPECT_EQ(cp.picker().listIndex(), 2);
    EXPECT_EQ(cp.take().text(), "2023");
    EXPECT_EQ(cp.listIndex(), 1);

    // Emptied by a lookup: the combo follows, with no selection.
    cp.picker().clear();
    cp.show();
    EXPECT_EQ(combo.count(), 0);
    EXPECT_EQ(combo.currentIndex(), -1);
}

TEST_F(PartsTest, TheBarShowsOnlyWhileARunWorks) {
    QWidget form;
    auto* bar = new QProgressBar(&form);
    auto* label = new QLabel(&form);
    form.show();
    bar->hide();
    label->hide();
    BarProgress progress(bar, label);

    progress.begin("Pre-Masterizzazione Archivi");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), "Pre-Masterizzazione Archivi");
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    progress.setRange(4);
    progress.setValue(3);
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(bar->value(), 3);

    progress.end();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // A second end gives back no cursor it did not take.
    progress.end();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PartsTest, TheLinkedPictureIsDrawnOncePerSize) {
    const QPixmap small = linkedPicture(14);
    ASSERT_FALSE(small.isNull());
    EXPECT_EQ(small.size(), QSize(14, 14));
    EXPECT_EQ(linkedPicture(14).cacheKey(), small.cacheKey());
    EXPECT_EQ(linkedPicture(20).size(), QSize(20, 20));

    // Something is drawn, and the corners stay clear so the grid shows through.
    const QImage img = small.toImage();
    int drawn = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) drawn += qAlpha(img.pixel(x, y)) > 0 ? 1 : 0;
    EXPECT_GT(drawn, 10);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(13, 13)), 0);
}

}  // namespace
}  // namespace zq::test
