#pragma once
// An archive database that passes every call on to a real one: a test derives from it
// and overrides only the steps it makes fail.

#include "dataaccess/archive_db.h"

#include <memory>

namespace zq::test {

class ForwardingArchive : public ArchiveDatabase {
public:
    explicit ForwardingArchive(std::unique_ptr<ArchiveDatabase> inner) : inner_(std::move(inner)) {}

    std::vector<TableDef> tableDefs() override { return inner_->tableDefs(); }
    std::optional<TableDef> tableDef(const std::string& n) override { return inner_->tableDef(n); }
    bool hasTable(const std::string& n) override { return inner_->hasTable(n); }
    void createTable(const TableDef& d) override { inner_->createTable(d); }
    void createLink(const std::string& n, const std::string& c, const std::string& s) override {
        inner_->createLink(n, c, s);
    }
    void renameTable(const std::string& o, const std::string& n) override { inner_->renameTable(o, n); }
    void deleteTable(const std::string& n) override { inner_->deleteTable(n); }
    void setLinkConnect(const std::string& n, const std::string& c, const std::string& s) override {
        inner_->setLinkConnect(n, c, s);
    }
    void execute(const std::string& sql) override { inner_->execute(sql); }
    void beginTrans() override { inner_->beginTrans(); }
    void commitTrans() override { inner_->commitTrans(); }
    void rollbackTrans() override { inner_->rollbackTrans(); }
    Connection& connection() override { return inner_->connection(); }
    RecordsetPtr openTable(const std::string& n) override { return inner_->openTable(n); }
    void close() override { inner_->close(); }
    const std::string& path() const override { return inner_->path(); }

protected:
    ArchiveDatabase& inner() { return *inner_; }

private:
    std::unique_ptr<ArchiveDatabase> inner_;
};

}  // namespace zq::test
