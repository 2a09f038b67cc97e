#include "duplication/group_params.h"

#include "app/config_file.h"
#include "common/textroutines.h"
#include "runtime/text.h"

namespace zq {

const char* GroupParams::caption() { return "Parametri Raggruppamento Aree"; }

Config GroupParams::load(const std::filesystem::path& file, Config defaults) {
    defaults.Password.clear();
    defaults.GrpParm1 = "0";
    defaults.GrpParm2.clear();
    ConfigFile::readLenient(file, defaults);
    return defaults;
}

long GroupParams::preselected(const Config& cfg) {
    try {
        return CintText(cfg.GrpParm1);
    } catch (const std::exception&) {
        return 0;  // a value no Integer holds names no area
    }
}

std::string GroupParams::browse(Dialogs& dialogs, const std::string& current) {
    const auto picked = dialogs.pickFolder(caption(), current);
    return picked ? *picked : current;
}

bool GroupParams::confirm(Dialogs& dialogs, Config& cfg, std::optional<long> areaId, const std::string& folder,
                          const std::filesystem::path& file) {
    if (vbTrim(folder).empty() || !areaId) {
        dialogs.message(Message{"Indicare l'area e il relativo percorso.", caption(), Buttons::Ok, Icon::Exclamation});
        return false;
    }
    Config next = cfg;
    next.GrpParm1 = std::to_string(*areaId);
    next.GrpParm2 = folder;
    if (folder.back() != '\\' && folder.back() != '/') {
        // The separator the folder already uses; "\" as the original writes it otherwise.
        const bool slash = folder.find('/') != std::string::npos && folder.find('\\') == std::string::npos;
        next.GrpParm2 = vbTrim(folder) + (slash ? "/" : "\\");
    }
    ConfigFile::write(file, next);
    cfg = next;
    return true;
}

bool GroupParams::ready(const Config& cfg) {
    // GrpParm1 goes into a statement: only a whole number other than 0 names an area.
    const std::string id = vbTrim(cfg.GrpParm1);
    if (id.empty() || id.size() > 9 || id.find_first_not_of("0123456789") != std::string::npos) return false;
    return std::stol(id) != 0 && !cfg.GrpParm2.empty();
}

bool GroupParams::ready(Dialogs& dialogs, const Config& cfg, const std::string& title) {
    if (ready(cfg)) return true;
    dialogs.message(Message{"Indicare l'area di raggruppamento e il relativo percorso.", title, Buttons::Ok,
                            Icon::Information});
    return false;
}

}  // namespace zq
