#include "tools/common/command_line.h"

#include <CLI/CLI.hpp>

CommandLine ParseCommandLine(CLI::App& app, const std::vector<std::string>& args,
                             std::string& message) {
  // Arguments nothing takes are left for the check below: CLI11's own message
  // lists several of them in reverse order.
  app.allow_extras();
  // Options begin with "-" on every system: CLI11's Windows default would
  // take a path such as "/logs/contest.adi" for an option called "logs".
  app.allow_windows_style_options(false);
  // Descriptions are written in lines that fit 80 columns after this one.
  app.get_formatter()->column_width(24);
  try {
    // CLI11 reads a vector from its end.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    message = app.help();
    return CommandLine::kHelp;
  } catch (const CLI::ParseError& e) {
    message = e.what();
    return CommandLine::kUnusable;
  }
  const std::vector<std::string> extras = app.remaining();
  if (!extras.empty()) {
    const std::string& first = extras.front();
    message =
        (first.size() > 1 && first[0] == '-' ? "unknown option " : "unexpected argument ") + first;
    return CommandLine::kUnusable;
  }
  return CommandLine::kRun;
}
