#include "cli/company_pick.h"

#include "common/error.h"
#include "common/gesterr.h"
#include "runtime/text.h"

#include <ostream>

namespace zq {

bool pickCompany(CliContext& ctx, const char* command, const Lookups& lookups, Picker& companies,
                 const std::string& code, std::size_t first) {
    int found = -1;
    for (std::size_t i = first; i < lookups.aDitte.size(); ++i)
        if (vbTrim(lookups.aDitte[i].Codice) == vbTrim(code)) found = static_cast<int>(i);
    if (found < 0) {
        ctx.out << "zelq " << command << ": ditta non in elenco: " << code << "\n";
        return false;
    }
    companies.setListIndex(found);
    return true;
}

bool reachCompany(CliContext& ctx, const char* command, const std::string& code, const std::function<void()>& change) {
    try {
        change();
        return true;
    } catch (const AbortProgram&) {
        throw;
    } catch (const std::exception& e) {
        ctx.out << "zelq " << command << ": database della ditta " << code
                << " non raggiungibile: " << toError(e).description() << "\n";
        return false;
    }
}

void pickYear(Picker& years, const std::string& text) {
    for (int i = 0; i < years.listCount(); ++i)
        if (vbTrim(years.list(i)) == vbTrim(text)) years.setListIndex(i);
    if (vbTrim(years.text()) != vbTrim(text)) years.setListIndex(-1);
}

}  // namespace zq
