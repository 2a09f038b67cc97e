#include "dataaccess/engine_settings.h"

#include "common/error.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

namespace zq {
namespace {

auto props(const EngineSettings& s) {
    return std::tuple(s.tarvEngine, s.embeddedRoot, s.odbcDriver, s.odbcDsn, s.odbcMapping, s.odbcPort, s.odbcOptions);
}

TEST(EngineSettings, SaveAndLoadRoundTrip) {
    test::TempDir dir;
    const EngineSettings s{.tarvEngine = EngineSettings::Tarv::Odbc, .embeddedRoot = dir.path() / "elsewhere",
                           .odbcDriver = "PostgreSQL Unicode", .odbcDsn = "", .odbcMapping = "postgresql",
                           .odbcPort = "5433", .odbcOptions = "UseDeclareFetch=1;Fetch=2000"};
    s.save(dir.path());
    EXPECT_EQ(props(EngineSettings::load(dir.path())), props(s));
}

TEST(EngineSettings, MissingFileGivesEmbeddedDefaultsAndARelativeRootIsUnderTheProgramFolder) {
    test::TempDir dir;
    auto s = EngineSettings::load(dir.path());
    EXPECT_EQ(s.tarvEngine, EngineSettings::Tarv::Embedded);
    EXPECT_EQ(s.embeddedRoot, dir.path() / "tarv");
    std::ofstream(dir / EngineSettings::kFileName) << "# comment\n\ntarv.root = data/tarv\r\n";
    EXPECT_EQ(EngineSettings::load(dir.path()).embeddedRoot, dir.path() / "data/tarv");
}

TEST(EngineSettings, MalformedFilesAreErrors) {
    for (const char* text :
         {"tarv.engine = informix\n", "no equals sign\n", "tarv.rooot = x\n", "odbc.mapping = oracle\n"}) {
        SCOPED_TRACE(text);
        test::TempDir dir;
        std::ofstream(dir / EngineSettings::kFileName) << text;
        EXPECT_THROW(EngineSettings::load(dir.path()), Error);
    }
}

}  // namespace
}  // namespace zq
