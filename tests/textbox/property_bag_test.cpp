#include "textbox/property_bag.h"

#include "textbox/ole_color.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(PropertyBag, KeysIgnoreCaseDefaultsAreNotKeptAndAVariantMapCopiesIt) {
    PropertyBag bag;
    EXPECT_EQ(bag.read("Text", QStringLiteral("txtNome")).toString(), QStringLiteral("txtNome"));
    bag.write("DataType", 4, 7);
    EXPECT_EQ(bag.read("DATATYPE", 7).toInt(), 4);
    EXPECT_TRUE(bag.contains("datatype"));
    bag.write("DATATYPE", 2, 7);
    bag.write("Locked", false, false);
    bag.write("BackColor", qlonglong(0x8000000F));
    EXPECT_EQ(bag.keys(), (QStringList{"BackColor", "DataType"})) << "first spelling kept, defaults left out";
    EXPECT_EQ(bag.read("DataType").toInt(), 2);

    const PropertyBag copy = PropertyBag::fromVariantMap(bag.toVariantMap());
    EXPECT_EQ(copy.read("datatype").toInt(), 2);
    EXPECT_EQ(OleColor::fromStored(copy.read("backcolor"), 0), 0x8000000Fu);
    bag.write("datatype", 7, 7);  // back to the default: forgotten
    bag.remove("backcolor");
    EXPECT_TRUE(bag.isEmpty());
}

TEST(OleColor, PlainAndSystemColours) {
    EXPECT_EQ(OleColor::toColor(0x0000FF), QColor(255, 0, 0));  // BGR order
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
