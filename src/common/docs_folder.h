#pragma once
// Where an archive record's documents live. The one rule behind ArchiveModel::PathDocs
// and the conversion engine's recordFolder; it sits here so that the conversion engine
// reaches it without the archive model.

#include <string>

namespace zq {

/// The record's subfolder of `basePath`: the record number divided by 500, eight
/// digits, followed by the separator `basePath` uses ("/" wins over "\"); the
/// subfolder name alone when `basePath` holds no separator.
std::string recordFolder(const std::string& basePath, long record);

}  // namespace zq
