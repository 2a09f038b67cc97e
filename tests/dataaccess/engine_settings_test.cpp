#include "dataaccess/engine_settings.h"

#include "common/error.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace zq {
namespace {

TEST(EngineSettings, MissingFileGivesEmbeddedDefaults) {
    test::TempDir dir;
    auto s = EngineSettings::load(dir.path());
    EXPECT_EQ(s.tarvEngine, EngineSettings::Tarv::Embedded);
    EXPECT_EQ(s.embeddedRoot, dir.path() / "tarv");
}

TEST(EngineSettings, SaveAndLoadRoundTrip) {
    test::TempDir dir;
    EngineSettings s;
    s.tarvEngine = EngineSettings::Tarv::Odbc;
    s.embeddedRoot = dir.path() / "elsewhere";
    s.odbcDriver = "PostgreSQL Unicode";
    s.odbcMapping = "postgresql";
    s.odbcPort = "5433";
    s.odbcOptions = "UseDeclareFetch=1;Fetch=2000";
    s.save(dir.path());
    auto r = EngineSettings::load(dir.path());
    EXPECT_EQ(r.tarvEngine, s.tarvEngine);
    EXPECT_EQ(r.embeddedRoot, s.embeddedRoot);
    EXPECT_EQ(r.odbcDriver, s.odbcDriver);
    EXPECT_EQ(r.odbcDsn, "");
    EXPECT_EQ(r.odbcMapping, s.odbcMapping);
    EXPECT_EQ(r.odbcPort, s.odbcPort);
    EXPECT_EQ(r.odbcOptions, s.odbcOptions);
}

TEST(EngineSettings, RelativeRootIsUnderTheProgramFolder) {
    test::TempDir dir;
    std::ofstream(dir / EngineSettings::kFileName) << "# comment\n\ntarv.root = data/tarv\r\n";
    EXPECT_EQ(EngineSettings::load(dir.path()).embeddedRoot, dir.path() / "data/tarv");
}

TEST(EngineSettings, MalformedFilesAreErrors) {
    const char* cases[] = {"tarv.engine = informix\n", "no equals sign\n", "tarv.rooot = x\n",
                           "odbc.mapping = oracle\n"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        test::TempDir dir;
        std::ofstream(dir / EngineSettings::kFileName) << text;
        EXPECT_THROW(EngineSettings::load(dir.path()), Error);
    }
}

}  // namespace
}  // namespace zq
