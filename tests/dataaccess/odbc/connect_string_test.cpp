#include "dataaccess/odbc/odbc_connect_string.h"

#include "common/error.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

EngineSettings odbc(const std::string& mapping, const std::string& driver = "Informix",
                    const std::string& dsn = {}, const std::string& port = {}, const std::string& options = {}) {
    EngineSettings s;
    s.tarvEngine = EngineSettings::Tarv::Odbc;
    s.odbcMapping = mapping;
    s.odbcDriver = driver;
    s.odbcDsn = dsn;
    s.odbcPort = port;
    s.odbcOptions = options;
    return s;
}

struct Case {
    const char* name;
    TarvTarget target;
    EngineSettings settings;
    std::string expected;
};

TEST(OdbcConnectString, MapsInformixPathsByInstallation) {
    const TarvTarget comune{"/usr/tarv/comune", "tarvhost", "ol_tarv", "mario", "segreto"};
    const TarvTarget ditta{"/vol2/ditt003", "tarvhost", "ol_tarv", "mario", "segreto"};
    const Case cases[] = {
        {"informix, driver", comune, odbc("informix", "IBM INFORMIX ODBC DRIVER"),
         "DRIVER={IBM INFORMIX ODBC DRIVER};HOST=tarvhost;SERVER=ol_tarv;SERVICE=sqlexec;PROTOCOL=onsoctcp;"
         "DATABASE=/usr/tarv/comune;UID=mario;PWD=segreto"},
        {"informix, company on another volume", ditta, odbc("informix", "Informix"),
         "DRIVER={Informix};HOST=tarvhost;SERVER=ol_tarv;SERVICE=sqlexec;PROTOCOL=onsoctcp;"
         "DATABASE=/vol2/ditt003;UID=mario;PWD=segreto"},
        {"informix, DSN and port as service", comune, odbc("informix", "Informix", "tarv", "1526"),
         "DSN=tarv;HOST=tarvhost;SERVER=ol_tarv;SERVICE=1526;PROTOCOL=onsoctcp;DATABASE=/usr/tarv/comune;"
         "UID=mario;PWD=segreto"},
        {"postgresql, last path element", ditta, odbc("postgresql", "PostgreSQL Unicode", "", "5433"),
         "DRIVER={PostgreSQL Unicode};Server=tarvhost;Port=5433;Database=ditt003;UID=mario;PWD=segreto;"
         "UseDeclareFetch=1;Fetch=2000"},
        {"postgresql, no port, options kept", comune,
         odbc("postgresql", "PostgreSQL Unicode", "", "", "Fetch=500;Debug=0"),
         "DRIVER={PostgreSQL Unicode};Server=tarvhost;Database=comune;UID=mario;PWD=segreto;"
         "UseDeclareFetch=1;Fetch=500;Debug=0"},
        {"postgresql, streaming turned off by the installation", comune,
         odbc("PostgreSQL", "PostgreSQL Unicode", "", "", ";UseDeclareFetch=0"),
         "DRIVER={PostgreSQL Unicode};Server=tarvhost;Database=comune;UID=mario;PWD=segreto;"
         "Fetch=2000;UseDeclareFetch=0"},
        {"password with separator is braced", {"/usr/tarv/comune/", "h", "s", "u", "a;b}c"},
         odbc("postgresql", "PG"),
         "DRIVER={PG};Server=h;Database=comune;UID=u;PWD={a;b}}c};UseDeclareFetch=1;Fetch=2000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(odbcConnectionString(c.target, c.settings), c.expected);
    }
}

TEST(OdbcConnectString, NamesTheDatabaseAsTheServerKnowsIt) {
    const TarvTarget t{"/usr/tarv/ditt001", "h", "s", "u", "p"};
    EXPECT_EQ(odbcDatabaseName(t, odbc("informix")), "/usr/tarv/ditt001");
    EXPECT_EQ(odbcDatabaseName(t, odbc("postgresql")), "ditt001");
    EXPECT_EQ(odbcDatabaseName({"ditt001", "h", "s", "u", "p"}, odbc("postgresql")), "ditt001");
}

TEST(OdbcConnectString, RefusesIncompleteSettings) {
    const TarvTarget t{"/usr/tarv/comune", "h", "s", "u", "p"};
    EXPECT_THROW(odbcConnectionString(t, odbc("oracle")), Error);
    EXPECT_THROW(odbcConnectionString(t, odbc("informix", "")), Error);
    EXPECT_THROW(odbcConnectionString({"/", "h", "s", "u", "p"}, odbc("postgresql")), Error);
    EXPECT_NO_THROW(odbcConnectionString(t, odbc("informix", "", "tarvdsn")));
}

}  // namespace
}  // namespace zq
