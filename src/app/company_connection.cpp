#include "app/company_connection.h"

namespace zq {

ConnectionPtr openCompanyConnection(Session& session, const std::string& code) {
    return std::move(session.OpenDitt(code).cnn);
}

}  // namespace zq
