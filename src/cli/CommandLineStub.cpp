// Placeholder until the command-line generator is built.
#include "CommandLine.h"

namespace stv {

CliOutcome RunCommandLine(const std::vector<std::string> &args, std::ostream &, std::ostream &err)
{
    if (args.empty())
        return {};
    if (args.size() == 1 && !args[0].empty() && args[0][0] != '-')
        return {true, 0, args[0]};
    err << "sitorva: the command-line generator is not built yet\n";
    return {false, 2, {}};
}

} // namespace stv
