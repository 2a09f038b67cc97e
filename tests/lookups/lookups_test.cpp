#include "lookups/lookups.h"

#include "demo_fixture.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace zq {
namespace {

using test::DemoFixture;
using test::ScriptedDialogs;

const std::string kNotActive = "ATTENZIONE! La Ditta selezionata\r\nnon prevede il collegamento ad QUIRNOVA!";

class LookupsTest : public ::testing::Test {
protected:
    void SetUp() override { session.OpenConn(nullptr); }
    void TearDown() override { session.CloseConn(); }

    std::vector<std::string> texts(const Picker& p) {
        std::vector<std::string> out;
        for (const auto& i : p.items()) out.push_back(i.text);
        return out;
    }
    int indexOfCode(const std::string& code) {
        for (std::size_t i = 0; i < lookups.aDitte.size(); ++i)
            if (lookups.aDitte[i].Codice == code) return static_cast<int>(i);
        return -1;
    }

    DemoFixture fx;
    ScriptedDialogs dialogs;
    Session session{dialogs, fx.dir()};
    Lookups lookups{session};
};

TEST_F(LookupsTest, CompaniesFrom2002WithANameSortedByCharacterCode) {
    Picker cmb;
    lookups.LeggDitt(cmb, /*all=*/false);
    // 004 (year 2001) and 005 (no clifo row) are left out; lower case sorts after upper case.
    EXPECT_EQ(texts(cmb), (std::vector<std::string>{"002 - Autofficina Corradini di Corradini Luca",
                                                    "003 - Caseificio Sociale San Prospero",
                                                    "001 - Rossi Mario & Figli srl",
                                                    "006 - agriturismo Le Querce di Ferretti Anna"}));
    ASSERT_EQ(lookups.nDitte(), 3);
    EXPECT_EQ(lookups.aDitte[1].Codice, "003");
    EXPECT_EQ(lookups.aDitte[1].Anno, "2023");
    EXPECT_EQ(lookups.aDitte[1].CodFisc, "00412340358");
    EXPECT_EQ(lookups.aDitte[0].CodFisc, "CRRLCU71C12H223K");
    EXPECT_EQ(cmb.listIndex(), -1);
}

TEST_F(LookupsTest, AllCompaniesEntryStaysFirstWithoutCode) {
    Picker cmb;
    lookups.LeggDitt(cmb, /*all=*/true);
    ASSERT_EQ(cmb.listCount(), 5);
    EXPECT_EQ(cmb.list(0), "<TUTTE>");
    EXPECT_EQ(cmb.listIndex(), 0);
    EXPECT_EQ(lookups.aDitte[0].Codice, "000");
    EXPECT_EQ(lookups.aDitte[0].Anno, "0000");
    EXPECT_EQ(lookups.aDitte[0].CodFisc, "");
}

TEST_F(LookupsTest, NamesDifferingOnlyInCaseAndANullLatestName) {
    fx.rawExec("/usr/tarv/comune",
               "INSERT INTO anaditta (codice, anno, codice_studio) VALUES ('007', 2024, 'S00007');"
               "INSERT INTO clifo (codice_studio, data_validita, rag_sociale) VALUES ('S00007', '2020-01-01', "
               "'Autofficina corradini di Corradini Luca');"
               // the latest name of 002 is Null: the company is not listed any more
               "INSERT INTO clifo (codice_studio, data_validita, rag_sociale) VALUES ('S00002', '2024-06-01', NULL);"
               "INSERT INTO anaditta (codice, anno, codice_studio) VALUES ('008', 2024, 'S00008');"
               "INSERT INTO clifo (codice_studio, data_validita, rag_sociale) VALUES ('S00008', '2020-01-01', "
               "'Autofficina Corradini di Corradini Luca');");
    Picker cmb;
    lookups.LeggDitt(cmb, false);
    ASSERT_GE(cmb.listCount(), 2);
    EXPECT_EQ(cmb.list(0), "008 - Autofficina Corradini di Corradini Luca");
    EXPECT_EQ(cmb.list(1), "007 - Autofficina corradini di Corradini Luca");
    EXPECT_EQ(indexOfCode("002"), -1);
}

TEST_F(LookupsTest, RememberedSelectionIsRestored) {
    Picker cmb;
    lookups.LeggDitt(cmb, false);
    cmb.setListIndex(2);
    lookups.LeggDitt(cmb, false);
    EXPECT_EQ(cmb.listIndex(), 2);
}

TEST_F(LookupsTest, CompanyPickListsItsYearsLatestFirst) {
    Picker company, year;
    lookups.LeggDitt(company, true);
    company.setListIndex(indexOfCode("001"));
    lookups.CambDitt(company, year, /*allYears=*/false);
    EXPECT_EQ(session.DbDitt, "/usr/tarv/ditt001");
    EXPECT_EQ(texts(year), (std::vector<std::string>{"2024", "2023", "2022"}));
    EXPECT_EQ(year.listIndex(), 0);
    EXPECT_EQ(lookups.nEser(), 2);

    lookups.CambDitt(company, year, /*allYears=*/true);
    EXPECT_EQ(texts(year), (std::vector<std::string>{"<TUTTI>", "2024", "2023", "2022"}));
    EXPECT_EQ(year.listIndex(), 0);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(LookupsTest, AllCompaniesLeavesTheConnectionAndEmptiesTheYears) {
    Picker company, year;
    lookups.LeggDitt(company, true);
    company.setListIndex(indexOfCode("003"));
    lookups.CambDitt(company, year, false);
    ASSERT_TRUE(session.CnnDitt);
    const Connection* before = session.CnnDitt.get();
    company.setListIndex(0);
    lookups.CambDitt(company, year, false);
    EXPECT_EQ(session.CnnDitt.get(), before);
    EXPECT_EQ(year.listCount(), 0);
    EXPECT_EQ(lookups.nEser(), -1);
}

struct ActiveCase {
    const char* code;
    const char* year;  // nullptr: the company's own year (hidden year picker)
    bool active;
};

TEST_F(LookupsTest, ArAttivaFromRegditta) {
    const ActiveCase cases[] = {
        {"001", nullptr, true},  // 2024 "U"
        {"001", "2023", true},   // "S"
        {"001", "2022", false},  // "N"
        {"002", nullptr, false}, // 2024 "N"
        {"002", "2023", true},
        {"003", nullptr, true},  // 2023 "U", on another volume
        {"003", "2024", false},  // Null
        {"006", "2019", false},  // no regditta row
    };
    Picker company, year;
    lookups.LeggDitt(company, false);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + (c.year ? c.year : "own year"));
        dialogs.clear();
        company.setListIndex(indexOfCode(c.code));
        if (c.year) {
            year.visible = true;
            lookups.CambDitt(company, year, false);
            for (int i = 0; i < year.listCount(); ++i)
                if (year.list(i) == c.year) year.setListIndex(i);
            if (year.text() != c.year) {
                lookups.VerAttiva(c.year);
            } else {
                lookups.CambEser(company, year);
            }
        } else {
            year.visible = false;
            lookups.CambDitt(company, year, false);
        }
        EXPECT_EQ(lookups.ArAttiva, c.active);
        if (c.active) {
            EXPECT_TRUE(dialogs.messages().empty());
        } else {
            ASSERT_EQ(dialogs.messages().size(), 1u);
            EXPECT_EQ(dialogs.messages()[0].text, kNotActive);
            EXPECT_EQ(dialogs.messages()[0].title, "\"");
            EXPECT_EQ(dialogs.messages()[0].icon, Icon::Information);
        }
    }
}

TEST_F(LookupsTest, CambDit1AndAYearThatIsNoNumber) {
    Picker company;
    lookups.LeggDitt(company, false);
    company.setListIndex(indexOfCode("001"));
    lookups.CambDit1(company);
    EXPECT_TRUE(lookups.ArAttiva);
    lookups.VerAttiva("2024 OR 1=1");
    EXPECT_FALSE(lookups.ArAttiva);
    EXPECT_EQ(dialogs.texts(), std::vector<std::string>{kNotActive});
}

TEST_F(LookupsTest, CambEserIgnoresTheAllEntries) {
    Picker company, year;
    lookups.LeggDitt(company, true);
    company.setListIndex(indexOfCode("002"));
    lookups.CambDitt(company, year, true);
    lookups.ArAttiva = true;
    lookups.CambEser(company, year);  // "<TUTTI>" selected
    EXPECT_TRUE(lookups.ArAttiva);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(LookupsTest, YearsWithoutACompanyConnection) {
    Picker year;
    lookups.LeggEser(year, true);
    EXPECT_EQ(texts(year), std::vector<std::string>{"<TUTTI>"});
    lookups.LeggEser(year, false);
    EXPECT_EQ(year.listCount(), 0);
    EXPECT_EQ(lookups.nEser(), -1);
}

TEST_F(LookupsTest, DocumentTypesByDescription) {
    lookups.LeggDocs();
    ASSERT_EQ(lookups.nDocs(), 5);
    std::vector<std::string> descr;
    for (const auto& d : lookups.aDocs) descr.push_back(d.Descr.substr(0, d.Descr.find_last_not_of(' ') + 1));
    EXPECT_EQ(descr, (std::vector<std::string>{"Archivio DAV", "Corrispettivi giornalieri", "Documenti di trasporto",
                                               "Fatture di acquisto", "Fatture di vendita", "Note di credito ricevute"}));
    EXPECT_EQ(lookups.aDocs[3].TipoDoc, "01");
}

TEST_F(LookupsTest, DocumentTypesFailureGoesThroughTheReport) {
    fx.rawExec("/usr/tarv/comune", "DROP TABLE ar_tipodoc");
    dialogs.then(Answer::Ignore);
    lookups.LeggDocs();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_NE(dialogs.messages()[0].text.find("nel modulo: garInizio,\r\nalla routine: LeggDocs,"), std::string::npos);
    EXPECT_NE(dialogs.messages()[0].text.find("Query: SELECT tipo_doc, descrizione FROM ar_tipodoc  ORDER BY descrizione"),
              std::string::npos);
    EXPECT_EQ(lookups.nDocs(), -1);
}

TEST_F(LookupsTest, AreasWithParentsAndSelectionKept) {
    Picker cmb;
    lookups.LeggAree(cmb, 0, /*showParent=*/true, /*all=*/true);
    EXPECT_EQ(texts(cmb), (std::vector<std::string>{"<TUTTE>", "2023", "2024", "Documenti Societari",
                                                    "Fatture Acquisto   -  2023", "Fatture Acquisto   -  2024",
                                                    "Fatture Vendita   -  2023", "Fatture Vendita   -  2024",
                                                    "Raggruppamenti DAV"}));
    EXPECT_EQ(cmb.listIndex(), -1);
    cmb.setListIndex(5);
    const long chosen = cmb.itemData(5);
    EXPECT_EQ(chosen, 5);
    lookups.LeggAree(cmb, 0, /*showParent=*/false, /*all=*/false);
    EXPECT_EQ(cmb.list(3), "Fatture Acquisto");
    ASSERT_GE(cmb.listIndex(), 0);
    EXPECT_EQ(cmb.itemData(cmb.listIndex()), chosen);

    Picker children;
    lookups.LeggAree(children, 4, true, false);
    EXPECT_EQ(texts(children), (std::vector<std::string>{"Fatture Acquisto   -  2024", "Fatture Vendita   -  2024"}));
}

TEST_F(LookupsTest, AreasWithoutAnArchiveConnection) {
    session.CnnArch.reset();
    Picker cmb;
    lookups.LeggAree(cmb, 0, false, true);
    EXPECT_EQ(texts(cmb), std::vector<std::string>{"<TUTTE>"});
}

}  // namespace
}  // namespace zq
