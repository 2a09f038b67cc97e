#pragma once
// The recordset an open routine hands back after the person chose Ignore in the error
// report: never opened, at EOF, so a caller's read loop ends at once instead of
// touching a missing object.

#include "dataaccess/recordset.h"

#include <string>

namespace zq {

class ClosedRecordset final : public Recordset {
public:
    explicit ClosedRecordset(std::string sql) : sql_(std::move(sql)) {}

    bool isOpen() const override { return false; }
    bool eof() const override { return true; }
    bool bof() const override { return true; }
    long recordCount() const override { return 0; }
    void moveFirst() override {}
    void moveNext() override { fail(); }
    void moveLast() override {}
    void find(const std::string&) override {}
    int fieldCount() const override { return 0; }
    std::string fieldName(int) const override { fail(); }
    int fieldIndex(const std::string&) const override { return -1; }
    Value field(int) const override { fail(); }
    void setField(int, const Value&) override { fail(); }
    void addNew() override { fail(); }
    void update() override { fail(); }
    void deleteCurrent() override { fail(); }
    void close() override {}

private:
    [[noreturn]] void fail() const;
    std::string sql_;
};

}  // namespace zq
