#pragma once
// The folders the duplication operations make: a new area's folder, an archive's
// folder, NomeCart of the year duplication and the grouping archive's folder. Names are
// abbreviated word by word: each word but the last gives its first four characters and
// "_", the last word its first four characters ("Fatture Acquisto 2005" -> Fatt_Acqu_2005).
// Paths keep the separator they already use ("\" or "/"); "/" when they have none.
// A new area or archive always gets a folder of its own (makeOwnFolder), and a name
// whose folder would leave its parent is refused before anything is made.

#include "common/dialogs.h"

#include <string>
#include <string_view>

namespace zq {

class FolderNames {
public:
    /// The abbreviation of `name`, words split at blanks only (two blanks in a row give
    /// an empty word, hence a doubled "_").
    static std::string abbreviate(std::string_view name);
    /// The path with a final separator ("\" when it uses "\" and no "/", else "/").
    static std::string withSeparator(const std::string& path);

    /// Run step 4 of the area duplication: `parent` & the abbreviation of the area name
    /// with every "_" read as a blank. No final separator.
    static std::string areaFolder(const std::string& parent, const std::string& areaName);
    /// CreaCopy step 5: `areaFolder` & the abbreviation of Trim(archive name), where
    /// "_" is no word break. No final separator.
    static std::string archiveFolder(const std::string& areaFolder, const std::string& archiveName);

    /// NomeCart of the year duplication: `parent` (with a final separator) & the
    /// abbreviation of `name` with "_" read as a blank. A blank parent shows "Creazione
    /// cartella <kind>." and returns "". `kind` is "ANNO", "AREA" or "DOCUMENTI".
    static std::string NomeCart(Dialogs& dialogs, const std::string& kind, const std::string& parent,
                                const std::string& name);

    /// The grouping archive's folder: GrpParm2 & Trim(Codice) & "_" & Left(Trim(RagSoc),
    /// 10) & separator, with blanks and then "." of the company part made "_".
    static std::string groupingFolder(const std::string& grpParm2, const std::string& codice,
                                      const std::string& ragSoc);

    /// Creates the folder when it does not exist (with its missing parents). False when
    /// it cannot be made (a file in the way, no permission, an empty path).
    static bool makeFolder(const std::string& path);

    /// True when `component`, the last part of a folder built from a name, names one
    /// folder inside its parent on any file system the archive may live on: not empty,
    /// not "." or "..", no separator, no control character, none of < > : " | ? *, at
    /// most 240 bytes (room left for a numbered suffix).
    static bool usableComponent(std::string_view component);
    /// True when the folder the abbreviation of `name` gives (with or without "_" read
    /// as a blank) is a usableComponent.
    static bool usableName(const std::string& name);
    /// The refusal of a name that cannot become a folder: `whose` ("Il nome
    /// dell'archivio" …), the name, and why.
    static std::string unusableName(const std::string& whose, const std::string& name);
    /// The last part of `path` (after its last separator; a final separator ignored).
    static std::string lastComponent(const std::string& path);
    /// Makes a new folder that no other archive or area has: `path` itself when nothing
    /// stands there yet, else the first free of `path` & "_2", "_3" … (its missing
    /// parents are made too). Returns the folder made, with the final separator `path`
    /// had (if any); "" when none could be made. Never returns a folder that existed.
    static std::string makeOwnFolder(const std::string& path);
};

}  // namespace zq
