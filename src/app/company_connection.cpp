#include "app/company_connection.h"

#include "common/error.h"
#include "common/product.h"
#include "dataaccess/resolver.h"
#include "common/textroutines.h"
#include "runtime/text.h"

namespace zq {

ConnectionPtr openCompanyConnection(Session& session, const std::string& code) {
    if (!session.CnnTarv) throw Error(kErrProviderFailure, "database TARV comune non connesso", kProductName);
    std::string volume = session.cfg.PathTarv;
    auto rs = session.CnnTarv->openRecordset("SELECT * FROM volumi WHERE cod_ditta = " + sqlText(code),
                                             CursorType::Static, LockType::ReadOnly);
    if (!rs->eof()) {
        const Value v = rs->field("Volume");
        if (!v.isNullish() && !v.toText().empty()) volume = vbTrim(v.toText()) + "/";
    }
    rs->close();
    const std::string db = vbTrim(volume) + "ditt" + vbLCase(vbTrim(code));
    const Config& c = session.cfg;
    const auto v = connectionValue;
    return openConnection("Provider=Ifxoledbc.2;Persist Security Info=False;host=" + v(c.Host) +
                              ";serv=sqlexec;srvr=" + v(c.Server) + ";User ID=" + v(c.Utente) +
                              ";password=" + v(c.Password) + ";Data Source=" + v(db + "@" + c.Server),
                          session.engines);
}

}  // namespace zq
