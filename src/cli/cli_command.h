#pragma once
// The commands of zelq. Each command is one file that registers itself:
//
//   static const CommandRegistrar reg{{"login", "accede a TARV e ne esce", kHelp, &run}};
//
// main() parses the common options, finds the command by name and runs it.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

namespace zq {

class TerminalDialogs;

/// What a command runs with: the installation folder, the dialogs and the output.
struct CliContext {
    std::filesystem::path home;  ///< the program folder of the installation
    TerminalDialogs& dialogs;
    std::ostream& out;           ///< the command's results (messages go to the dialogs)
};

/// Exit codes of zelq.
enum ExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

struct CliCommand {
    std::string name;
    std::string summary;  ///< one line for the command list
    std::string help;     ///< the text of "zelq COMMAND --help"
    int (*run)(CliContext& ctx, const std::vector<std::string>& args);
};

class CommandRegistry {
public:
    static void add(CliCommand command);
    /// nullptr when there is no such command.
    static const CliCommand* find(const std::string& name);
    /// Every command, by name.
    static std::vector<CliCommand> all();
};

struct CommandRegistrar {
    explicit CommandRegistrar(CliCommand command) { CommandRegistry::add(std::move(command)); }
};

}  // namespace zq
