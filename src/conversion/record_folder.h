#pragma once
// The documents folder of one archive record: the archive model's PathDocs rule, kept
// here so that the conversion engine needs no more than the archive connection.

#include <string>

namespace zq {

/// The record's subfolder of `basePath`: the record number divided by 500, eight
/// digits, followed by the separator `basePath` uses ("/" wins over "\"); the
/// subfolder name alone when `basePath` holds no separator.
std::string recordFolder(const std::string& basePath, long record);

}  // namespace zq
