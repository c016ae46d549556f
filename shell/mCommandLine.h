// The command line: `veltrano` alone opens the windows; `veltrano --COMMAND ARGS...` does one
// piece of work without a display and exits. Options may stand in any position.
//
// Adding a command: write `int RunX(const std::vector<std::string>& args, std::ostream& out,
// std::ostream& err)` beside the module it serves (Qt-free where it can be), and add a row to
// the table in mCommandLine.cpp. The function receives its positional arguments in order,
// followed by its options as "--name" or "--name=value" (read them with OptionValue/HasOption);
// it returns the exit status: 0 done, 1 a file that cannot be read or written, 2 a bad argument
// (print "veltrano: what is wrong" on err). A file it writes goes through WriteWholeFile
// (core/mFiles.h) or QSaveFile, never straight to the name; long work polls
// InterruptRequested() (core/mInterrupt.h) when its row says kStopsOnInterrupt.
#pragma once
#include <ostream>
#include <string>
#include <vector>

using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// An option a command accepts: "--name VALUE" or "--name=VALUE"; value is null for a switch.
struct CommandOption {
    const char* name;
    const char* value;
    const char* help;
};

// Flags of a command row.
enum CommandNeeds : unsigned {
    kNeedsData = 1,         // the planetary series, the star catalogue and the Moon's series are loaded first
    kNeedsPainting = 2,     // fonts and a paint device (the offscreen platform; no display)
    kStopsOnInterrupt = 4,  // polls InterruptRequested(): Ctrl-C, SIGTERM, SIGHUP ask it to stop
};

struct Command {
    const char* name;       // "--almanac-pdf"
    const char* arguments;  // "FROM TO FILE.pdf"
    const char* help;       // one line
    std::vector<CommandOption> options;
    CommandFunction run;
    unsigned needs;  // CommandNeeds
};

// Every command, in the order the usage lists them.
const std::vector<Command>& Commands();

// The usage text: the synopsis, every command with its arguments and options, and the
// general options, one per line, ending in a newline.
std::string CommandLineUsage();

// What a command line asks for.
struct CommandLineRequest {
    enum Kind { Windows, Help, Version, Run, Bad } kind = Windows;
    const Command* command = nullptr;  // for Run
    std::vector<std::string> args;     // for Run: positionals, then "--name[=value]" options
    std::string error;                 // for Bad: what is wrong
};

// words: the arguments after the program name. A word beginning with "-" and not a number
// is an option; "--help"/"-h" and "--version" win over everything else; at most one
// command; options must belong to the command; positionals only with a command. Qt's own
// window options (-platform NAME, -style NAME, -reverse...) are kept for the windows.
CommandLineRequest ParseCommandLine(const std::vector<std::string>& words);

// Reading a command's args.
std::vector<std::string> Positionals(const std::vector<std::string>& args);
bool HasOption(const std::vector<std::string>& args, const std::string& name);
std::string OptionValue(const std::vector<std::string>& args, const std::string& name, const std::string& otherwise = "");
