#include "test_archive.h"

#include "dataaccess/resolver.h"

#include <sqlite3.h>

#include <stdexcept>

namespace zq::test {
namespace {

// SQL text literal: single quotes doubled.
std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

}  // namespace

TestArchive::TestArchive(std::filesystem::path file) : file_(std::move(file)) {
    if (sqlite3_open(file_.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("cannot create " + file_.string());
    exec("CREATE TABLE AREE (ID_AREA LONG PRIMARY KEY, AREA TEXT(50), ID_PARENT LONG)");
    exec("CREATE TABLE DB_ELENCO (ID_AREA LONG, ARCHIVIO TEXT(100), SYS_SERIALE TEXT(16), sys_path_docs TEXT(255))");
}

TestArchive::~TestArchive() { sqlite3_close(db_); }

void TestArchive::exec(const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(sql + ": " + msg);
    }
}

void TestArchive::createDocTable(const std::string& table) {
    exec("CREATE TABLE " + table + " (sys_record LONG, sys_filename TEXT(255), descr TEXT(50))");
}

void TestArchive::addRow(const std::string& table, const DocRow& r) {
    exec("INSERT INTO " + table + " VALUES (" + (r.record ? std::to_string(*r.record) : "NULL") + ", " +
         (r.fileName ? quoted(*r.fileName) : "NULL") + ", " + quoted(r.descr) + ")");
}

std::vector<DocRow> TestArchive::rows(const std::string& table) {
    sqlite3_stmt* st = nullptr;
    const std::string sql = "SELECT sys_record, sys_filename, descr FROM " + table + " ORDER BY rowid";
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) throw std::runtime_error(sql);
    std::vector<DocRow> out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        DocRow r;
        if (sqlite3_column_type(st, 0) != SQLITE_NULL) r.record = sqlite3_column_int64(st, 0);
        if (sqlite3_column_type(st, 1) != SQLITE_NULL)
            r.fileName = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
        r.descr = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
        out.push_back(std::move(r));
    }
    sqlite3_finalize(st);
    return out;
}

ConnectionPtr TestArchive::connect() const {
    return openConnection("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file_.string() +
                          ";Jet OLEDB:Database Password=zzpergola31;");
}

}  // namespace zq::test
