#pragma once
// Where an archive record's documents live, and which names may stand in a documents
// folder. The one rule behind ArchiveModel::PathDocs and the conversion engine's
// recordFolder; it sits here so that the conversion engine reaches it without the
// archive model.

#include <string>
#include <string_view>

namespace zq {

/// The record's subfolder of `basePath`: the record number divided by 500, eight
/// digits, followed by the separator `basePath` uses ("/" wins over "\"); the
/// subfolder name alone when `basePath` holds no separator.
std::string recordFolder(const std::string& basePath, long record);

/// Why `name` cannot be one file or folder inside a folder, in Italian ("esce dalla
/// sua cartella" …); empty when it can. Refused: an empty name, "." and "..", a
/// separator ("/" or "\"), which would lead out of the folder; control characters and
/// <>:"|?*, which the office's Windows file systems do not take; more than 255 bytes.
std::string entryNameProblem(std::string_view name);

}  // namespace zq
