// A request to stop long work from outside it: the command line's signal handlers
// (Ctrl-C, SIGTERM, SIGHUP) set it; command-line work that writes a file polls it and
// then discards the unfinished file, so the requested name keeps what it held.
#pragma once
#include <atomic>

// The process-wide flag. Async-signal-safe to set (lock-free atomic).
std::atomic<bool>& InterruptRequested();
