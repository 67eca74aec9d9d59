#pragma once
// Opening links and starting programs, behind an interface so tests can record instead.
#include <string>
#include <vector>

namespace platform {

class Shell {
public:
    virtual ~Shell();
    virtual bool openLink(const std::string& urlOrPath) = 0;
    virtual bool startProgram(const std::string& path, const std::vector<std::string>& args, bool minimized) = 0;
};

// Runs xdg-open or the program directly (never through a shell), detached: the child is
// double-forked into its own session so it leaves no zombie. True when the exec succeeded.
// `minimized` has no portable meaning for a freshly started X11/Wayland program and is ignored.
class SystemShell : public Shell {
public:
    bool openLink(const std::string& urlOrPath) override;
    bool startProgram(const std::string& path, const std::vector<std::string>& args, bool minimized) override;
};

class RecordingShell : public Shell {
public:
    struct Call {
        enum Kind { Link, Program } kind;
        std::string target;
        std::vector<std::string> args;
        bool minimized = false;
    };
    std::vector<Call> calls;
    bool result = true;  // what every call answers

    bool openLink(const std::string& urlOrPath) override;
    bool startProgram(const std::string& path, const std::vector<std::string>& args, bool minimized) override;
};

}  // namespace platform
