// Starting Qt without its abort: when Qt cannot open a platform (its plugin
// is not installed, or the display went away after the check), Qt ends the
// process with SIGABRT and a core dump. Between guardQtStart and
// qtStarted that failure instead becomes a report of what is missing
// and an ordinary exit status.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Why Qt could not start.
struct QtStartProblem {
  enum class Kind {
    PluginMissing,    // no platform plugin of that name is installed
    NoDisplay,        // the plugin is there but finds no display
    PluginNotLoaded,  // the plugin is there but does not load
    Other,            // anything else
  };
  Kind kind = Kind::Other;
  std::string plugin;   // the plugin's name (PluginMissing, PluginNotLoaded)
  std::string package;  // the Debian package that ships it, where it is not
                        // Qt's base package (PluginMissing); empty otherwise
  std::string qtLine;   // Qt's own first line (Other)
};

// Called when Qt cannot start, with what is missing. It reports as it sees
// fit and returns the exit status; the process then ends at once with that
// status.
using QtStartFailure = std::function<int(const QtStartProblem& problem)>;

// Call right before creating the application object. Until qtStarted, Qt's
// messages are held back, so that a failed start shows nothing but the
// caller's report.
void guardQtStart(QtStartFailure onFailure);

// Call once the application object exists: the held-back messages go out
// through the message handler that was in place before guardQtStart, which
// is restored.
void qtStarted();

// What went wrong in a failed start, made out from what Qt said while it
// tried: `notes` are its warnings, `fatal` its last word. Exposed for tests.
QtStartProblem qtStartProblem(const std::string& notes, const std::string& fatal);

}  // namespace platform
