// Time from process start to a window: the splash and the home screen in the Qt host, a bare
// Qt window, and the home screen built headless. Each variant runs as its own process, so the
// figures include loading the program and the toolkit.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program.h"
#include "host/headless/headless_host.h"
#include "host/qt/qt_host.h"
#include "platform/files.h"
#include "platform/http.h"
#include "platform/settings.h"
#include "platform/shell.h"

extern char** environ;

namespace {

const auto processStart = std::chrono::steady_clock::now();
double sinceStart() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - processStart).count();
}

// Ends the process as soon as the named window has been handed to the screen.
template <class Base>
class StopAt : public Base {
public:
    explicit StopAt(std::string window) : window_(std::move(window)) {}
    void formShown(forms::Form& f) override {
        if (std::getenv("QZ_BENCH_TRACE")) std::fprintf(stderr, "%s shown at %.1f ms\n", f.name().c_str(), sinceStart());
        Base::formShown(f);
        if (f.name() == window_) reached_ = true;
    }
    bool waitForInput(int maxMs) override {
        bool more = Base::waitForInput(reached_ ? 0 : maxMs);
        if (reached_) {
            if (std::getenv("QZ_BENCH_TRACE")) std::fprintf(stderr, "painted at %.1f ms\n", sinceStart());
            std::_Exit(0);
        }
        return more;
    }

private:
    std::string window_;
    bool reached_ = false;
};

int runProgram(forms::Host& host, const std::string& folder) {
    platform::CurlHttpClient http;
    platform::RecordingShell shell;
    platform::SettingsStore settings("/tmp/qz-bench-settings.ini");
    qz::Services s;
    s.host = &host;
    s.http = &http;
    s.shell = &shell;
    s.settings = &settings;
    s.programFolder = folder;
    qz::Program program(s);
    program.run();
    return 1;  // the home screen never showed
}

int childQt(int argc, char** argv, const std::string& folder, const char* window) {
    QApplication app(argc, argv);
    StopAt<qthost::QtHost> host(window);
    return runProgram(host, folder);
}

int childQtBare(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget w;
    w.resize(800, 600);
    w.show();
    QCoreApplication::processEvents();
    return 0;
}

int childHeadless(const std::string& folder) {
    StopAt<headless::HeadlessHost> host("FrmFengmian");
    return runProgram(host, folder);
}

double runOnce(const std::string& self, const std::string& mode, const std::string& folder) {
    std::vector<std::string> args{self, mode, folder};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    auto t1 = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    std::string folder = argc > 2 ? argv[2] : platform::programFolder();
    if (mode == "qt-home") return childQt(argc, argv, folder, "FrmFengmian");
    if (mode == "qt-splash") return childQt(argc, argv, folder, "FrmStart");
    if (mode == "qt-bare") return childQtBare(argc, argv);
    if (mode == "headless-home") return childHeadless(folder);

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt warns on every start without a runtime folder; give the children a private one.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        char dir[] = "/tmp/qz-bench-XXXXXX";
        if (mkdtemp(dir)) setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string self = platform::joinPath(platform::programFolder(), "qz_bench_startup");
    struct Variant {
        const char* mode;
        const char* label;
        std::vector<double> ms;
    } variants[] = {{"qt-home", "home screen, Qt host offscreen", {}},
                    {"qt-bare", "bare Qt window, offscreen", {}},
                    {"headless-home", "home screen, headless host", {}},
                    {"qt-splash", "splash, Qt host offscreen", {}}};
    // Interleaved, so that a busy moment of the machine falls on every variant alike.
    for (int i = 0; i < runs; ++i)
        for (auto& v : variants) {
            double t = runOnce(self, v.mode, folder);
            if (t < 0) {
                std::fprintf(stderr, "%s failed to reach its window\n", v.mode);
                return 1;
            }
            v.ms.push_back(t);
        }
    std::printf("start-up to first window, median of %d runs (ms)\n", runs);
    for (auto& v : variants) std::printf("  %-34s %8.1f\n", v.label, median(v.ms));
    const double bare = std::max(0.001, median(variants[1].ms));
    std::printf("  home screen / bare window          %8.2f\n", median(variants[0].ms) / bare);
    std::printf("  splash / bare window               %8.2f\n", median(variants[3].ms) / bare);
    // The splash's timer holds the home screen back by design; what is left is the program's.
    std::printf("  (home screen - 100 ms) / bare      %8.2f\n", (median(variants[0].ms) - 100) / bare);
    return 0;
}
