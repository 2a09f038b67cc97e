#include "dataaccess/resolver.h"

#include "common/error.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

struct TargetCase {
    const char* name;
    const char* connectionString;
    const char* database;
    const char* server;
    const char* user;
    const char* password;
};

TEST(Resolver, ReadsTheTarvTemplates) {
    const TargetCase cases[] = {
        {"common", "Provider=Ifxoledbc.2;Persist Security Info=False;host=h1;User ID=mario;password=pw;"
                   "Data Source=/usr/tarv/comune@srv1",
         "/usr/tarv/comune", "srv1", "mario", "pw"},
        {"company", "Provider=Ifxoledbc.2;Persist Security Info=False;host=h1;serv=sqlexec;srvr=srv1;"
                    "User ID= mario ;password=p=w;Data Source=/usr/tarv/ditt001@srv1",
         "/usr/tarv/ditt001", "srv1", " mario ", "p=w"},
        {"link", "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};PRO=sesoctcp;SRVR=srv2;SERV=sqlexec;HOST=h2;"
                 "DATABASE=/vol2/ditt002;DSN=Default;userid=anna;password=x",
         "/vol2/ditt002", "srv2", "anna", "x"},
        {"empty password", "ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};DATABASE=/d;userid=u;password=", "/d", "", "u",
         ""},
        // values go verbatim into the templates: a quote or parenthesis in them is text
        {"quotes and parentheses", "Provider=Ifxoledbc.2;Persist Security Info=False;host=h;User ID=d'amico;"
                                   "password=ab(c\"d;Data Source=/usr/tarv/comune@linux_se",
         "/usr/tarv/comune", "linux_se", "d'amico", "ab(c\"d"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TarvTarget t = tarvTargetOf(c.connectionString);
        EXPECT_EQ(t.database, c.database);
        EXPECT_EQ(t.server, c.server);
        EXPECT_EQ(t.user, c.user);
        EXPECT_EQ(t.password, c.password);
        EXPECT_FALSE(isArchiveConnectionString(c.connectionString));
    }
}

TEST(Resolver, RecognisesTheArchiveTemplate) {
    const std::string s = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x/Vizidore.mdb;Persist Security Info=False;"
                          "Jet OLEDB:Database Password=zzpergola31";
    EXPECT_TRUE(isArchiveConnectionString(s));
    EXPECT_EQ(parseConnectionString(s).at("jet oledb:database password"), "zzpergola31");
}

TEST(Resolver, MalformedStringsAreClearErrors) {
    struct Case {
        const char* text;
        const char* mentions;
    };
    const Case cases[] = {
        {"", "vuota"},
        {"Provider=Ifxoledbc.2;host=h;User ID=u;password=p", "manca Data Source"},
        {"Provider=Ifxoledbc.2;Data Source=/usr/tarv/comune", "non indica @server"},
        {"Provider=Ifxoledbc.2;Data Source=@srv", "non indica il database"},
        {"Provider=SQLOLEDB;Data Source=x@y", "non è quello del TARV"},
        {"host=h;User ID=u", "manca Provider"},
        {"Provider=Ifxoledbc.2;garbage;Data Source=a@b", "la parte dopo provider non è nella forma chiave=valore"},
        // a password cut at an unquoted ";" is never shown
        {"Provider=Ifxoledbc.2;password=ab;secret;Data Source=a@b", "la parte dopo password non"},
        {"ODBC;DRIVER={INFORMIX-CLI 2.5 (32 bit)};SRVR=s;userid=u", "manca DATABASE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            tarvTargetOf(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), kErrProviderFailure);
            EXPECT_NE(e.description().find(c.mentions), std::string::npos) << e.description();
            EXPECT_EQ(e.description().find("secret"), std::string::npos);
        }
    }
}

TEST(Resolver, BracedValuesAreReadWithoutTheirBraces) {
    auto kv = parseConnectionString("ODBC;DRIVER={a;b};PWD={x}}y;z};DATABASE=/d");
    EXPECT_EQ(kv.at("driver"), "a;b");
    EXPECT_EQ(kv.at("pwd"), "x}y;z");
    EXPECT_EQ(kv.at("database"), "/d");
}

}  // namespace
}  // namespace zq
