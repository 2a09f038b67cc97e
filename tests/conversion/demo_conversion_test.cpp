// The conversion run on the demo installation: every listed archive converted in list
// order, as the form's "&Converti" does with all entries ticked.
#include "app/demo_installation.h"
#include "conversion/conv_table.h"
#include "conversion/record_folder.h"
#include "conversion/tiff_list.h"
#include "dataaccess/resolver.h"
#include "recording_progress.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"
#include "tiff_probe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace zq {
namespace {

namespace fs = std::filesystem;

std::string numbered(long record, const char* ext) {
    char name[32];
    std::snprintf(name, sizeof name, "%08ld.%s", record, ext);
    return name;
}

TEST(ConvTableDemo, ConvertsEveryArchiveOfTheDemoInstallation) {
    test::TempDir dir("zqconvdemo");
    DemoInstallation::build(dir.path());
    ConnectionPtr cnn = openConnection("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                                       DemoInstallation::config(dir.path()).PathArch + ";");
    const std::vector<TiffEntry> entries = loadTiffEntries(*cnn);
    std::size_t withDocs = 0;
    for (const auto& a : DemoInstallation::archives(dir.path())) withDocs += a.docs.empty() ? 0 : 1;
    ASSERT_EQ(entries.size(), withDocs) << "archives without a documents folder are not listed";

    test::ScriptedDialogs dialogs;
    dialogs.answerAlways(Answer::Yes);
    test::RecordingProgress progress;
    ConversionSettings settings;
    settings.dpi = 50;
    const PdfConverter conv(settings);
    for (const auto& e : entries) {
        SCOPED_TRACE(e.archivio);
        const ConvTableResult r = ConvTable(*cnn, dialogs, progress, conv).run(e.archivio, e.pathDocs, e.tabella, e.pathDocs);
        EXPECT_TRUE(r.completed);
        EXPECT_EQ(r.converted, r.counted);
    }
    EXPECT_EQ(dialogs.messages().size(), 2 * entries.size()) << "a question and a closing message per archive";

    for (const auto& a : DemoInstallation::archives(dir.path())) {
        if (a.docs.empty()) continue;
        SCOPED_TRACE(a.name);
        RecordsetPtr rs = cnn->openRecordset("SELECT sys_record, sys_filename FROM " + a.serial, CursorType::Static,
                                             LockType::ReadOnly);
        long rows = 0;
        for (; !rs->eof(); rs->moveNext(), ++rows) {
            const long record = static_cast<long>(rs->field("sys_record").toInteger());
            EXPECT_EQ(rs->field("sys_filename").toText(), numbered(record, "tif"));
            const fs::path folder = recordFolder(a.docs, record);
            EXPECT_EQ(test::readTiffPages(folder / numbered(record, "tif")).size(), std::size_t(1 + record % 3));
            EXPECT_TRUE(fs::exists(folder / numbered(record, "pdf")));
        }
        EXPECT_EQ(rows, static_cast<long>(a.records.size()));
    }
}

}  // namespace
}  // namespace zq
