#pragma once
// The program's start with an Access archive: when line 2 of the configuration still
// names the office's Access file, the program offers to import it into a new archive
// beside it ("Vizidore.mdb" -> "Vizidore_importato.mdb") instead of failing to open it.
// The caller then points the configuration at the new file.

#include "common/dialogs.h"
#include "common/progress.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zq {

/// The new archive an Access file is imported into.
std::filesystem::path importedArchivePath(const std::filesystem::path& accessFile);

/// True when `target` is an archive with tables: an earlier import that was renamed
/// into place (the configuration may not have been pointed at it yet).
bool importedArchiveInPlace(const std::filesystem::path& target);

/// Nothing when `pathArch` is not an Access file. Otherwise asks (question, Yes/No)
/// naming the Access file and the new one; on Yes imports (an earlier run's complete
/// archive is taken as it is) and returns the new archive's path. Nothing on No or
/// when the import failed (its message was shown).
std::optional<std::string> offerAccessImport(Dialogs& dialogs, Progress& progress, const std::string& pathArch);

}  // namespace zq
