#include "cli/cli_command.h"

#include <algorithm>
#include <map>

namespace zq {
namespace {

// Built on first use: registrars of other files run during static initialisation.
std::map<std::string, CliCommand>& registry() {
    static std::map<std::string, CliCommand> commands;
    return commands;
}

}  // namespace

void CommandRegistry::add(CliCommand command) {
    const std::string name = command.name;
    registry()[name] = std::move(command);
}

const CliCommand* CommandRegistry::find(const std::string& name) {
    const auto it = registry().find(name);
    return it == registry().end() ? nullptr : &it->second;
}

std::vector<CliCommand> CommandRegistry::all() {
    std::vector<CliCommand> out;
    for (const auto& [name, cmd] : registry()) out.push_back(cmd);
    return out;
}

}  // namespace zq
