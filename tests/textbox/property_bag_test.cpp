#include "textbox/property_bag.h"

#include "textbox/ole_color.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(PropertyBag, KeysCompareWithoutRegardToCase) {
    PropertyBag bag;
    bag.write("DataType", 4, 7);
    EXPECT_EQ(bag.read("Datatype", 7).toInt(), 4);
    EXPECT_EQ(bag.read("DATATYPE", 7).toInt(), 4);
    EXPECT_TRUE(bag.contains("datatype"));
    bag.write("DATATYPE", 2, 7);
    EXPECT_EQ(bag.keys(), QStringList{"DataType"});  // first spelling kept
    EXPECT_EQ(bag.read("DataType").toInt(), 2);
}

TEST(PropertyBag, MissingKeyGivesTheDefaultAndDefaultsAreNotKept) {
    PropertyBag bag;
    EXPECT_EQ(bag.read("Text", QStringLiteral("txtNome")).toString(), QStringLiteral("txtNome"));
    bag.write("MaxLength", 10, 0);
    bag.write("Locked", false, false);
    EXPECT_EQ(bag.keys(), QStringList{"MaxLength"});
    bag.write("maxlength", 0, 0);  // back to the default: forgotten
    EXPECT_TRUE(bag.isEmpty());
}

TEST(PropertyBag, CopiesThroughAVariantMap) {
    PropertyBag bag;
    bag.write("Caption0", QStringLiteral("&Mov."));
    bag.write("BackColor", qlonglong(0x8000000F));
    const PropertyBag copy = PropertyBag::fromVariantMap(bag.toVariantMap());
    EXPECT_EQ(copy.read("caption0").toString(), QStringLiteral("&Mov."));
    EXPECT_EQ(OleColor::fromStored(copy.read("backcolor"), 0), 0x8000000Fu);
}

TEST(OleColor, PlainAndSystemColours) {
    EXPECT_EQ(OleColor::toColor(0x0000FF), QColor(255, 0, 0));  // BGR order
    EXPECT_EQ(OleColor::toColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(OleColor::fromColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    EXPECT_EQ(OleColor::toColor(0x8000000F, pal), QColor(1, 2, 3));
    // Stored as a signed Long or an unsigned value, the colour is the same.
    EXPECT_EQ(OleColor::fromStored(qlonglong(-2147483630), 0), 0x80000012u);
    EXPECT_EQ(OleColor::fromStored(QVariant(), 7u), 7u);
}

}  // namespace
}  // namespace zq
