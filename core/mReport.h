// The one way the computation tells the user something: a hook that the window
// layer sets to a message box. The default hook writes to standard error.
#pragma once
#include <string>

using ReportHook = void (*)(const std::string& title, const std::string& text);

// Installs hook (nullptr restores the default); returns the previous hook.
ReportHook SetReportHook(ReportHook hook);
// Reports an error with a title ("Error") and a text ("Invalid planet index!").
void ReportError(const std::string& title, const std::string& text);
