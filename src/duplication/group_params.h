#pragma once
// The grouping parameters (configuration lines 12 and 13): the Id_Area of the area into
// which areas are grouped (GrpParm1, "0" for none) and the folder under which grouping
// archives are made (GrpParm2, ending in a separator). The engine of frmCGru.

#include "app/session.h"
#include "common/dialogs.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zq {

class GroupParams {
public:
    /// "Parametri Raggruppamento Aree": the title of the form's messages.
    static const char* caption();

    /// Load steps 2 and 3: `defaults` (the configuration form's in-memory defaults) with
    /// Password empty, GrpParm1 "0" and GrpParm2 empty, then the file read over them with
    /// the lenient reader when it exists.
    static Config load(const std::filesystem::path& file, Config defaults);
    /// The area to preselect: CintText(GrpParm1); 0 (none) also for an empty value.
    static long preselected(const Config& cfg);
    /// The browse button: the picked folder, or `current` unchanged when the dialog is
    /// cancelled (a cancel does not wipe what was typed).
    static std::string browse(Dialogs& dialogs, const std::string& current);

    /// "Con&ferma": with no area or an empty folder, "Indicare l'area e il relativo
    /// percorso." and false; otherwise GrpParm1 and GrpParm2 set, all 13 lines written.
    static bool confirm(Dialogs& dialogs, Config& cfg, std::optional<long> areaId, const std::string& folder,
                        const std::filesystem::path& file);

    /// Whether grouping can run: GrpParm1 not "0" and GrpParm2 not empty; otherwise the
    /// grouping form says "Indicare l'area di raggruppamento e il relativo percorso."
    static bool ready(const Config& cfg);
    static bool ready(Dialogs& dialogs, const Config& cfg, const std::string& title);
};

}  // namespace zq
