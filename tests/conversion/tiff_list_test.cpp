#include "conversion/tiff_list.h"

#include "temp_dir.h"
#include "test_archive.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

TEST(TiffList, ListsArchivesWithTheirAreaInAreaAndNameOrderSkippingNulls) {
    test::TempDir dir;
    test::TestArchive archive(dir / "Vizidore.mdb");
    archive.exec("INSERT INTO AREE VALUES (1, 'Vendite  ', 0), (2, 'Acquisti', 0)");
    archive.exec("INSERT INTO DB_ELENCO VALUES "
                 "(1, 'Fatture emesse', '2401011230A1B2', 'C:\\DOC\\FE\\'),"
                 "(2, 'Fatture ricevute', '2401011231C3D4', '/doc/fr/'),"
                 "(1, 'Corrispettivi', '2401011232E5F6', 'C:\\DOC\\CO\\'),"
                 "(1, NULL, '2401011233AAAA', 'C:\\X\\'),"
                 "(1, 'Senza seriale', NULL, 'C:\\X\\'),"
                 "(2, 'Senza percorso', '2401011234BBBB', NULL),"
                 "(9, 'Area mancante', '2401011235CCCC', 'C:\\Y\\')");
    ConnectionPtr cnn = archive.connect();

    const std::vector<TiffEntry> e = loadTiffEntries(*cnn);

    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].archivio, "Fatture ricevute");
    EXPECT_EQ(e[0].area, "Acquisti");
    EXPECT_EQ(e[0].tabella, "2401011231c3d4");
    EXPECT_EQ(e[0].pathDocs, "/doc/fr/");
    EXPECT_EQ(e[1].archivio, "Corrispettivi");
    EXPECT_EQ(e[1].area, "Vendite");
    EXPECT_EQ(e[1].pathDocs, "C:\\DOC\\CO\\");
    EXPECT_EQ(e[2].archivio, "Fatture emesse");
    EXPECT_EQ(e[2].tabella, "2401011230a1b2");
    for (const auto& x : e) EXPECT_FALSE(x.selected);
}

TEST(TiffList, EmptyArchiveGivesAnEmptyList) {
    test::TempDir dir;
    test::TestArchive archive(dir / "Vizidore.mdb");
    ConnectionPtr cnn = archive.connect();
    EXPECT_TRUE(loadTiffEntries(*cnn).empty());
}

}  // namespace
}  // namespace zq
