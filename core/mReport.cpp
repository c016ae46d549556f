#include "core/mReport.h"

#include <cstdio>

namespace {
void DefaultHook(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
}
ReportHook g_hook = &DefaultHook;
}  // namespace

ReportHook SetReportHook(ReportHook hook) {
    ReportHook previous = g_hook;
    g_hook = hook ? hook : &DefaultHook;
    return previous;
}

void ReportError(const std::string& title, const std::string& text) { g_hook(title, text); }
