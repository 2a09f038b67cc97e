#pragma once
// A temporary archive database (an SQLite file with the archive's tables, written with
// plain SQL) and a documents folder with record subfolders, for the ConvTable tests.
// The rows are read back through SQLite directly, not through the code under test.

#include "dataaccess/connection.h"
#include "runtime/value.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace zq::test {

/// One row of an archive table as the tests see it (Null = nullopt).
struct DocRow {
    std::optional<long> record;
    std::optional<std::string> fileName;
    std::string descr;
    friend bool operator==(const DocRow&, const DocRow&) = default;
};

class TestArchive {
public:
    /// Creates `file` with AREE and DB_ELENCO.
    explicit TestArchive(std::filesystem::path file);
    ~TestArchive();
    TestArchive(const TestArchive&) = delete;
    TestArchive& operator=(const TestArchive&) = delete;

    void exec(const std::string& sql);
    /// Creates the archive table `table` (sys_record LONG, sys_filename TEXT(255), descr).
    void createDocTable(const std::string& table);
    void addRow(const std::string& table, const DocRow& row);
    /// The rows of `table` in rowid order.
    std::vector<DocRow> rows(const std::string& table);

    /// A fresh connection through the program's own connection string.
    ConnectionPtr connect() const;

private:
    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
};

}  // namespace zq::test
