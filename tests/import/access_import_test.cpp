// Each real Access file of tests/fixtures/access imported, and compared table by table
// with what mdbtools' own mdb-export and mdb-schema read from the same file.

#include "import/access_import.h"

#include "dataaccess/archive_db.h"
#include "dataaccess/sql_text.h"
#include "dataaccess/sqlite_handle.h"
#include "import/mdb_file.h"
#include "process_run.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sqlite3.h>

namespace zq {
namespace {

namespace fs = std::filesystem;
const fs::path kFixtures = ZQ_ACCESS_FIXTURES;
const std::string kNull = "<NULL>";

// mdb-export's CSV: quoted fields with doubled quotes, line breaks inside quotes.
std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += c, ++i;
        else if (c == '"') quoted = !quoted, wasQuoted = true;
        else if (!quoted && (c == ',' || c == '\n')) {
            rows.back().push_back(field == kNull && !wasQuoted ? kNull : field);
            field.clear(), wasQuoted = false;
            if (c == '\n') rows.emplace_back();
        } else field += c;
    }
    rows.pop_back();
    return rows;
}

bool sameValue(std::string theirs, std::string ours) {
    for (auto* s : {&theirs, &ours})
        if (s->size() == 19 && s->substr(10) == " 00:00:00") s->resize(10);
    if (theirs == ours) return true;
    char *e1 = nullptr, *e2 = nullptr;
    const double a = std::strtod(theirs.c_str(), &e1), b = std::strtod(ours.c_str(), &e2);
    if (!theirs.empty() && !ours.empty() && !*e1 && !*e2) return std::abs(a - b) <= 1e-6 * std::max(1.0, std::abs(a));
    return strcasecmp(theirs.c_str(), ours.c_str()) == 0;  // hex of binary data
}

std::string ourText(sqlite3_stmt* st, int c) {
    if (sqlite3_column_type(st, c) == SQLITE_NULL) return kNull;
    if (sqlite3_column_type(st, c) != SQLITE_BLOB)
        return reinterpret_cast<const char*>(sqlite3_column_text(st, c));
    std::string hex;
    const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(st, c));
    char byte[3];
    for (int i = 0; i < sqlite3_column_bytes(st, c); ++i) std::snprintf(byte, sizeof byte, "%02X", p[i]), hex += byte;
    return hex;
}

void expectRowsAsMdbExport(const fs::path& source, const fs::path& archive, const std::string& table) {
    SCOPED_TRACE(table);
    const auto out = test::runProgram("mdb-export", {"-T", "%Y-%m-%d %H:%M:%S", "-D", "%Y-%m-%d %H:%M:%S", "-0",
                                                     kNull, "-b", "hex", source.string(), table});
    const auto theirs = parseCsv(out.out);
    auto db = openSqliteFile(archive.string(), /*create=*/false, "test");
    Statement st(db.get(), "SELECT * FROM " + sqliteName(table), "test");
    std::size_t row = 1;
    for (; st.step(); ++row) {
        ASSERT_LT(row, theirs.size());
        for (int c = 0; c < st.columnCount(); ++c)
            EXPECT_TRUE(sameValue(theirs[row][static_cast<size_t>(c)], ourText(st.get(), c)))
                << theirs[0][static_cast<size_t>(c)] << " row " << row << ": " << theirs[row][static_cast<size_t>(c)]
                << " | " << ourText(st.get(), c);
    }
    EXPECT_EQ(row, theirs.size());
}

// mdb-schema's Access names of the types, and the archive's codes.
const std::map<std::string, int> kSchemaTypes = {
    {"Boolean", dbBoolean}, {"Byte", dbByte}, {"Integer", dbInteger}, {"Long Integer", dbLong},
    {"Currency", dbCurrency}, {"Single", dbSingle}, {"Double", dbDouble}, {"DateTime", dbDate},
    {"Text", dbText}, {"Memo/Hyperlink", dbMemo}, {"OLE", dbLongBinary}, {"Replication ID", dbGUID},
    {"Numeric", dbDecimal}};

void expectTypesAsMdbSchema(const fs::path& source, const TableDef& def) {
    SCOPED_TRACE(def.name);
    const auto out = test::runProgram("mdb-schema", {"-T", def.name, source.string(), "access"});
    static const std::regex column(R"(^\s*\[(.+)\]\s+([A-Za-z /]+?)(?: \((\d+)\))?( NOT NULL)?,?\s*$)");
    int seen = 0;
    for (const auto& line : test::linesOf(out.out)) {
        std::smatch m;
        if (!std::regex_match(line, m, column)) continue;
        ++seen;
        const FieldDef* f = def.findField(m[1].str());
        ASSERT_TRUE(f) << m[1].str();
        EXPECT_EQ(f->type, kSchemaTypes.at(m[2].str())) << f->name;
        if (f->type == dbText) {
            EXPECT_EQ(std::to_string(f->size), m[3].str()) << f->name;
        }
        if (f->type != dbBoolean) {  // mdb-schema writes NOT NULL on every Yes/No: it is never Null
            EXPECT_EQ(f->required, m[4].matched) << f->name;
        }
    }
    EXPECT_EQ(seen, static_cast<int>(def.fields.size()));
}

struct Imported {
    test::TempDir dir{"zq-import"};
    test::ScriptedDialogs dialogs;
    fs::path source, archive;
    ImportReport report;

    explicit Imported(const std::string& file, const std::function<void(const fs::path&)>& damage = {}) {
        source = dir / ("copia di " + file);  // a name with blanks, as offices name files
        archive = dir / "Vizidore.mdb";
        fs::copy_file(kFixtures / file, source);
        if (damage) damage(source);
        NoProgress progress;
        report = AccessImport(dialogs, progress).run(source, archive);
    }
    const ImportItem* item(const std::string& name) const {
        for (const auto& i : report.items)
            if (i.name == name) return &i;
        return nullptr;
    }
};

TEST(AccessImport, EveryFileImportsAsMdbToolsReadsIt) {
    for (const char* file : {"testV1997.mdb", "indexTestV1997.mdb", "indexTestV2003.mdb", "test2V2003.mdb",
                             "fixedTextTestV2000.mdb", "testUnicodeCompV2003.mdb", "odbcLinkerTestV2007.accdb",
                             "linkerTestV2007.accdb", "linkeeTest.accdb"}) {
        SCOPED_TRACE(file);
        Imported imp(file);
        ASSERT_TRUE(imp.report.completed) << imp.report.failure;
        EXPECT_FALSE(fs::exists(AccessImport::partialFile(imp.archive)));
        auto archive = ArchiveDatabase::open(imp.archive.string());
        int tables = 0;
        for (const auto& i : imp.report.items) {
            if (i.kind != AccessObjectKind::Table) continue;
            ++tables;
            EXPECT_TRUE(i.imported) << i.name << ": " << i.note;
            EXPECT_EQ(i.rowsRead, i.rowsWritten);
            expectRowsAsMdbExport(imp.source, imp.archive, i.name);
            expectTypesAsMdbSchema(imp.source, *archive->tableDef(i.name));
        }
        EXPECT_GT(tables, 0);
    }
}

TEST(AccessImport, LinksIndexesAndCountersComeOverAndTheRestIsNamed) {
    Imported odbc("odbcLinkerTestV2007.accdb");
    auto archive = ArchiveDatabase::open(odbc.archive.string());
    const auto link = archive->tableDef("Ordrar");
    ASSERT_TRUE(link && link->isLink());
    EXPECT_EQ(link->connect, "DSN=Magnapinna;Description=Safexit;UID=safexit;PWD=DummyPassword;"
                             "APP=Microsoft Office;DATABASE=safexit");
    EXPECT_EQ(link->sourceTableName, "dbo.Ordrar");
    EXPECT_EQ(link->linkKey, std::vector<std::string>{"ID"});
    EXPECT_TRUE(link->findField("Kund företag"));
    EXPECT_NE(odbc.item("Ordrar")->note.find("non raggiungibile"), std::string::npos);
    EXPECT_EQ(odbc.report.tsv().find("DummyPassword"), std::string::npos);
    EXPECT_TRUE(odbc.report.everythingImported());
    EXPECT_FALSE(odbc.item("~sq_cLogin~sq_ccboHandläggare")->imported);

    // The AutoNumber goes on from the number Access would have given next.
    const FieldDef* id = archive->tableDef("Lokal")->findField("ID");
    EXPECT_EQ(id->attributes, dbFixedField | dbAutoIncrField);
    archive->execute("INSERT INTO Lokal (Version, BackEnd, Staging) VALUES ('2', 0, 0)");
    auto rs = archive->connection().openRecordset("SELECT max(ID) FROM Lokal", CursorType::Static, LockType::ReadOnly);
    EXPECT_EQ(rs->field(0).toInteger(), 2);

    Imported indexes("indexTestV2003.mdb");
    const auto t1 = ArchiveDatabase::open(indexes.archive.string())->tableDef("Table1");
    ASSERT_EQ(t1->indexes.size(), 2u);
    EXPECT_EQ(t1->indexes[1].name, "PrimaryKey");
    EXPECT_TRUE(t1->indexes[1].primary && t1->indexes[1].unique);
    EXPECT_EQ(t1->indexes[1].fields, std::vector<std::string>{"id"});
    EXPECT_TRUE(t1->findField("data")->allowZeroLength);
    EXPECT_EQ(t1->findField("otherfk1")->defaultValue, "0");
    EXPECT_FALSE(indexes.item("Table2Table1")->imported);

    Imported linker("linkerTestV2007.accdb");
    EXPECT_FALSE(linker.report.everythingImported());
    EXPECT_NE(linker.item("Table2")->note.find("linkeeTest.accdb"), std::string::npos);
}

TEST(AccessImport, CurrencyComesInEveryDigit) {
    // Jet keeps a Currency as ten-thousandths in eight bytes: the 3,5 of Table1 becomes
    // 99.999.999.999.999,99, one digit more than a double holds.
    Imported imp("testV1997.mdb", [](const fs::path& file) {
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(f)), {});
        const auto le = [](std::int64_t v) {
            std::string b(8, '\0');
            for (int i = 0; i < 8; ++i) b[static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i) & 0xFF);
            return b;
        };
        const auto at = bytes.find(le(35000));
        ASSERT_NE(at, std::string::npos);
        ASSERT_EQ(bytes.find(le(35000), at + 1), std::string::npos);
        f.seekp(static_cast<std::streamoff>(at));
        f << le(999999999999999900);
    });
    ASSERT_TRUE(imp.report.completed) << imp.report.failure;
    auto archive = ArchiveDatabase::open(imp.archive.string());
    auto rs = archive->openTable("Table1");
    std::vector<std::string> amounts;
    for (; !rs->eof(); rs->moveNext()) amounts.push_back(rs->field("H").toText());
    EXPECT_EQ(amounts, (std::vector<std::string>{"0", "99999999999999,99"}));
}

long firstDataPage(const fs::path& file, const char* table) {
    auto mdb = openAccessFile(file);
    auto t = readTableDef(mdb.get(), table, MDB_TABLE);
    mdb_rewind_table(t.get());
    mdb_read_next_dpg(t.get());
    return static_cast<long>(t->cur_phys_pg) * mdb->fmt->pg_size;
}

TEST(AccessImport, UnreadableSourcesLeaveNothingBehind) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> damage;
        const char* message;
    } cases[] = {
        {"truncated", [](const fs::path& f) { fs::resize_file(f, fs::file_size(f) * 2 / 5); },
         "La tabella MSP_PROJECTS non si può leggere per intero"},
        {"zeroed data page",
         [](const fs::path& f) {
             const long at = firstDataPage(f, "MSP_PROJECTS");
             std::fstream(f, std::ios::in | std::ios::out | std::ios::binary).seekp(at).write(std::string(4096, '\0').data(), 4096);
         },
         "La tabella MSP_PROJECTS non si può leggere per intero"},
        {"header zeroed", [](const fs::path& f) { std::fstream(f, std::ios::in | std::ios::out | std::ios::binary).write(std::string(4096, '\0').data(), 4096); },
         "non è un database Access"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Imported imp("test2V2003.mdb", c.damage);
        EXPECT_FALSE(imp.report.completed);
        EXPECT_TRUE(imp.dialogs.saw(c.message)) << imp.report.failure;
        EXPECT_FALSE(fs::exists(imp.archive));
        EXPECT_FALSE(fs::exists(AccessImport::partialFile(imp.archive)));
    }
}

TEST(AccessImport, WritesOnlyIntoANewArchiveAndRedoesAKilledRun) {
    test::TempDir dir("zq-import");
    const auto archive = dir / "Vizidore.mdb";
    std::ofstream(AccessImport::partialFile(archive)) << "half of a killed run";
    test::ScriptedDialogs dialogs;
    NoProgress progress;
    ASSERT_TRUE(AccessImport(dialogs, progress).run(kFixtures / "testV1997.mdb", archive).completed);
    const auto size = fs::file_size(archive);
    const auto again = AccessImport(dialogs, progress).run(kFixtures / "indexTestV1997.mdb", archive);
    EXPECT_FALSE(again.completed);
    EXPECT_TRUE(dialogs.saw("esiste già e contiene tabelle"));
    EXPECT_EQ(fs::file_size(archive), size);
    EXPECT_TRUE(ArchiveDatabase::open(archive.string())->hasTable("Table4"));
}

}  // namespace
}  // namespace zq
