#include "shell/mCommandLine.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>

#include "almanac/mDailyPagesPrint.h"
#include "log/mSightLogQt.h"
#include "fix/mReduceCommand.h"

namespace {

// Qt's own options for the windows, kept for QApplication: those followed by a value, then
// the switches. Written with one dash or two.
const char* const kQtValueOptions[] = {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                       "qwindowtitle", "qwindowicon", "style", "stylesheet", "session", "display",
                                       "geometry"};
const char* const kQtSwitches[] = {"reverse", "nograb", "dograb", "widgetcount", "sync"};

bool IsNumber(const std::string& w) {
    return w.size() > 1 && w[0] == '-' && (std::isdigit(static_cast<unsigned char>(w[1])) || w[1] == '.');
}

bool IsOption(const std::string& w) { return w.size() > 1 && w[0] == '-' && !IsNumber(w); }

// "--name=value" -> "--name"; "-name" for Qt's options -> "name".
std::string OptionName(const std::string& w) { return w.substr(0, w.find('=')); }

template <size_t N>
bool IsQtOption(const std::string& w, const char* const (&names)[N]) {
    const std::string bare = w.substr(w.rfind('-', 1) == 1 ? 2 : 1);
    return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return bare == n; });
}

const Command* FindCommand(const std::string& name) {
    for (const Command& c : Commands())
        if (name == c.name) return &c;
    return nullptr;
}

const CommandOption* FindOption(const Command& c, const std::string& name) {
    for (const CommandOption& o : c.options)
        if (name == o.name) return &o;
    return nullptr;
}

}  // namespace

const std::vector<Command>& Commands() {
    static const std::vector<Command> table = {
        {"--almanac-pdf", "FROM TO FILE.pdf",
         "the daily pages from FROM to TO (yyyy-mm-dd, 1900-01-01 to 2100-12-31) as a PDF",
         {{"--tables", nullptr, "add the standing tables for the year of FROM"},
          {"--lunars", nullptr, "add the lunar distances of each day, every three hours"},
          {"--paper", "a4|letter", "the paper (a4 when not given)"}},
         RunAlmanacPdf, kNeedsData | kNeedsPainting | kStopsOnInterrupt},
        {"--log-gpx", "FILE.gpx", "the sight log's fixes as GPX 1.1 waypoints and a track, for a chart plotter",
         {{"--from", "DATE", "only the fixes from this zone date (yyyy-mm-dd; with --to)"},
          {"--to", "DATE", "to this zone date, included"}},
         RunLogGpx, 0},
        {"--reduce", "SIGHTS.csv",
         "the fix from a file of sights (header ut,body,hs[,limb][,kind][,use]; kind lunar with moon_limb, distance, hs_moon clears lunar distances) as JSON; exit 1 when it is refused",
         {{"--dr", "LAT LON", "dead-reckoning position: 41-20.5N 070-05.2W or signed degrees (needed)"},
          {"--dr-time", "UT", "instant of the DR and the fix, ISO 8601 UT (default: the last sight's)"},
          {"--course", "DEG", "course, degrees true (default 0)"},
          {"--speed", "KN", "speed, knots (default 0)"},
          {"--eye", "M", "height of eye, metres (default 15)"},
          {"--ic", "ARCMIN", "index correction, arc minutes (default 0)"},
          {"--temp", "C", "air temperature, degrees Celsius (default 10)"},
          {"--pressure", "MB", "air pressure, millibars (default 1010)"},
          {"--no-iterate", nullptr, "one pass from the DR instead of repeating the fix about itself"}},
         RunReduce, kNeedsData},
    };
    return table;
}

std::string CommandLineUsage() {
    std::ostringstream u;
    u << "usage: veltrano                       open the windows\n"
         "       veltrano --COMMAND ARGUMENTS   do one piece of work without a display\n"
         "\ncommands:\n";
    for (const Command& c : Commands()) {
        u << "  " << c.name << ' ' << c.arguments << "\n      " << c.help << "\n";
        for (const CommandOption& o : c.options)
            u << "      " << o.name << (o.value ? std::string(" ") + o.value : std::string()) << "  " << o.help << "\n";
    }
    u << "\noptions:\n"
         "  --help, -h    print this and exit\n"
         "  --version     print the version and exit\n"
         "\nexit status: 0 done, 1 a file that cannot be read or written, 2 a bad command line\n";
    return u.str();
}

CommandLineRequest ParseCommandLine(const std::vector<std::string>& words) {
    CommandLineRequest r;
    for (const std::string& w : words) {
        if (w == "--help" || w == "-h") r.kind = CommandLineRequest::Help;
        else if (w == "--version" && r.kind != CommandLineRequest::Help) r.kind = CommandLineRequest::Version;
    }
    if (r.kind != CommandLineRequest::Windows) return r;

    auto bad = [&r](std::string why) {
        r.kind = CommandLineRequest::Bad;
        r.error = std::move(why);
        r.args.clear();
        return r;
    };
    // The command first, wherever it stands.
    for (const std::string& w : words) {
        const Command* c = IsOption(w) ? FindCommand(OptionName(w)) : nullptr;
        if (!c) continue;
        if (r.command) return bad("one command at a time: " + std::string(r.command->name) + " and " + c->name);
        r.command = c;
    }
    std::vector<std::string> positionals, options;
    bool endOfOptions = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (endOfOptions || !IsOption(w)) {
            positionals.push_back(w);
            continue;
        }
        if (w == "--") {
            endOfOptions = true;
            continue;
        }
        const std::string name = OptionName(w);
        if (r.command && name == r.command->name) continue;
        const CommandOption* o = r.command ? FindOption(*r.command, name) : nullptr;
        if (o) {
            if (o->value && w.find('=') == std::string::npos) {
                // A value of several words ("LAT LON") takes as many.
                const size_t count = 1 + static_cast<size_t>(std::count(o->value, o->value + std::strlen(o->value), ' '));
                if (i + count >= words.size()) return bad(name + " needs a value (" + o->value + ")");
                std::string value = words[++i];
                for (size_t k = 1; k < count; ++k) value += " " + words[++i];
                options.push_back(name + "=" + value);
            } else if (!o->value && w.find('=') != std::string::npos) {
                return bad(name + " takes no value");
            } else {
                options.push_back(w);
            }
        } else if (!r.command && IsQtOption(w, kQtValueOptions) && i + 1 < words.size()) {
            ++i;  // Qt reads it
        } else if (!r.command && IsQtOption(w, kQtSwitches)) {
            // Qt reads it
        } else {
            return bad("unknown option " + w);
        }
    }
    if (!r.command) {
        if (!positionals.empty()) return bad("unexpected argument " + positionals.front());
        return r;
    }
    r.kind = CommandLineRequest::Run;
    r.args = positionals;
    r.args.insert(r.args.end(), options.begin(), options.end());
    return r;
}

std::vector<std::string> Positionals(const std::vector<std::string>& args) {
    std::vector<std::string> out;
    for (const std::string& a : args)
        if (!(a.size() > 2 && a.compare(0, 2, "--") == 0)) out.push_back(a);
    return out;
}

bool HasOption(const std::vector<std::string>& args, const std::string& name) {
    return std::any_of(args.begin(), args.end(), [&](const std::string& a) { return OptionName(a) == name && a.rfind("--", 0) == 0; });
}

std::string OptionValue(const std::vector<std::string>& args, const std::string& name, const std::string& otherwise) {
    for (const std::string& a : args)
        if (a.rfind(name + "=", 0) == 0) return a.substr(name.size() + 1);
    return otherwise;
}
