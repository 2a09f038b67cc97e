#include "tarv_fixture.h"

#include "dataaccess/embedded_engine.h"
#include "dataaccess/resolver.h"

namespace zq::test {

TarvFixture::TarvFixture() : dir_("zq-tarv") {
    settings_.tarvEngine = EngineSettings::Tarv::Embedded;
    settings_.embeddedRoot = dir_.path() / "tarv";
    settings_.save(dir_.path());
    createEmbeddedAccount(settings_, kUser, kPassword);
    createEmbeddedDatabase(settings_, std::string(kPathTarv) + "comune");
    createEmbeddedDatabase(settings_, kCompanyDb);
    setInstallation(settings_);
}

TarvFixture::~TarvFixture() { setInstallation(EngineSettings{}); }

std::string TarvFixture::commonConnectionString() const {
    return std::string("Provider=Ifxoledbc.2;Persist Security Info=False;host=") + kHost + ";User ID=" + kUser +
           ";password=" + kPassword + ";Data Source=" + kPathTarv + "comune@" + kServer;
}

std::string TarvFixture::companyConnectionString(const std::string& dbPath) const {
    return std::string("Provider=Ifxoledbc.2;Persist Security Info=False;host=") + kHost + ";serv=sqlexec;srvr=" +
           kServer + ";User ID=" + kUser + ";password=" + kPassword + ";Data Source=" + dbPath + "@" + kServer;
}

std::string TarvFixture::linkConnectString(const std::string& dbPath) const {
    return std::string("ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp") + ";SRVR=" + kServer +
           ";SERV=sqlexec;HOST=" + kHost + ";DATABASE=" + dbPath + ";DSN=Default" + ";userid=" + kUser +
           ";password=" + kPassword;
}

ConnectionPtr TarvFixture::openCommon() const { return openConnection(commonConnectionString(), settings_); }

ConnectionPtr TarvFixture::openCompany(const std::string& dbPath) const {
    return openConnection(companyConnectionString(dbPath), settings_);
}

void TarvFixture::addCompanyDatabase(const std::string& dbPath) const { createEmbeddedDatabase(settings_, dbPath); }

}  // namespace zq::test
