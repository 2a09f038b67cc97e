#include "dataaccess/connection.h"

#include "common/error.h"

namespace zq {

long Command::execute() const {
    if (!activeConnection || activeConnection->state() == 0)
        throw Error(kErrProviderFailure, "command has no open connection", "zq.command");
    return activeConnection->execute(commandText);
}

}  // namespace zq
