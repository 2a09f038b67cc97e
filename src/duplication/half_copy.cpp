#include "duplication/half_copy.h"

#include "app/company_connection.h"
#include "common/textroutines.h"
#include "duplication/identity_file.h"
#include "linking/link_names.h"
#include "linking/link_sql.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zq {
namespace {

namespace fs = std::filesystem;

bool tableOnServer(Connection& cnn, const std::string& tarv) {
    auto rs = cnn.openRecordset(LinkSql::systablesQuery(tarv), CursorType::ForwardOnly, LockType::ReadOnly);
    const bool present = !rs->eof();
    rs->close();
    return present;
}

}  // namespace

bool removeHalfMadeCopy(Session& session, ArchiveDatabase& db, CreaCopy& core, const std::string& serial,
                        const std::string& company, const std::string& folder) {
    if (!LinkNames::safeSerial(serial)) return true;
    const std::string tarv = LinkNames::tarv(serial);
    for (const std::string& name : {serial, LinkNames::sav(serial)})
        if (!core.guard("", [&] {
                if (db.hasTable(name)) db.deleteTable(name);
            }))
            return false;
    const std::string del = "DELETE FROM DB_ELENCO WHERE SYS_SERIALE = " + sqlText(serial);
    if (!core.guard(del, [&] { db.execute(del); })) return false;
    // The link step makes the TARV table first, then registers it.
    if (!company.empty()) {
        const std::string drop = LinkSql::dropTable(tarv);
        if (!core.guard(drop, [&] {
                ConnectionPtr cnn = openCompanyConnection(session, company);
                if (tableOnServer(*cnn, tarv)) cnn->execute(drop);
                cnn->close();
            }))
            return false;
    }
    const std::string unreg = LinkSql::registryDelete(tarv);
    if (session.CnnTarv && !core.guard(unreg, [&] { session.CnnTarv->execute(unreg); })) return false;

    const fs::path id = fs::path(folder) / IdentityFile::kFileName;
    std::ifstream in(id, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    std::error_code ec;
    if (text.str().find(serial) != std::string::npos) fs::remove(id, ec);
    if (fs::is_empty(folder, ec)) fs::remove(folder, ec);
    return true;
}

}  // namespace zq
