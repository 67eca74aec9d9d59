// The player's repaint in the Qt host, offscreen and in real time: sample demonstrations
// played to their end, with the time of the player window's paint after each timer tick, and
// how many repaints each tick caused (the host should give one, however many controls moved).
//
//   qz_bench_player_qt [demonstrations]   the first N demonstrations of the sample (default 8;
//                                         0 plays them all, which takes some minutes)
#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "demo/frmYanShi.h"
#include "fuzz/headless_program.h"
#include "host/qt/form_window.h"
#include "host/qt/qt_host.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Apart from the wall clock: on a busy machine the wall time holds other processes' turns.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

struct Figures {
    double total = 0, worst = 0;
    long n = 0;
    std::vector<double> all;
    void add(double v) {
        total += v;
        worst = std::max(worst, v);
        ++n;
        all.push_back(v);
    }
    double mean() const { return n ? total / static_cast<double>(n) : 0.0; }
    // A busy machine puts its own stalls into the worst; the 99th percentile shows the paint's.
    double p99() const {
        if (all.empty()) return 0;
        std::vector<double> v = all;
        auto at = v.begin() + static_cast<std::ptrdiff_t>((v.size() - 1) * 99 / 100);
        std::nth_element(v.begin(), at, v.end());
        return *at;
    }
    void print(const char* what) const {
        std::printf("  %-34s %7ld %10.3f %10.3f %10.3f\n", what, n, mean(), p99(), worst);
    }
};

// What the player's window paints, tied to the timer tick that last ran before it.
struct Watch {
    const forms::Form* player = nullptr;
    bool showing = false;      // shown, and no tick yet
    long tick = 0;             // ticks of the player's timers so far
    bool pointerTick = false;  // the last one was Timer2's
    long paintedTick = 0;      // the tick the last paint followed
    long ticksPainted = 0;
    long extraPaints = 0;  // a second paint or more after one tick
    long pointerTicks = 0;
    long changes = 0;        // the player's form invalidated by a control change
    long changingTicks = 0;  // ticks that changed something
    Figures pointerChanges;  // changes per pointer tick
    Figures pointerPaint, pointerPaintCpu, otherPaint, pointerFlush, otherFlush;
    int widthPx = 0, heightPx = 0;

    bool isPlayer(QObject* o) const {
        auto* w = dynamic_cast<qthost::FormWindow*>(o);
        return player && w && &w->form() == player;
    }
};

Watch watch;

class CountingHost : public qthost::QtHost {
public:
    void invalidate(forms::Form& form) override {
        if (&form == watch.player) ++watch.changes;
        QtHost::invalidate(form);
    }
};

// Paint events are timed where Qt hands them to the window; an update request holds the
// paint and the flush to the backing store.
class BenchApp : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* o, QEvent* e) override {
        const QEvent::Type type = e->type();
        if ((type != QEvent::Paint && type != QEvent::UpdateRequest) || !watch.isPlayer(o))
            return QApplication::notify(o, e);
        const double cpu0 = threadCpuMs();
        const auto t0 = Clock::now();
        const bool done = QApplication::notify(o, e);
        const double ms = msSince(t0);
        const double cpu = threadCpuMs() - cpu0;
        if (watch.showing) return done;  // a new window's first paint, before any tick
        if (type == QEvent::UpdateRequest) {
            (watch.pointerTick ? watch.pointerFlush : watch.otherFlush).add(ms);
            return done;
        }
        if (watch.paintedTick == watch.tick) {
            ++watch.extraPaints;
            return done;
        }
        watch.paintedTick = watch.tick;
        ++watch.ticksPainted;
        (watch.pointerTick ? watch.pointerPaint : watch.otherPaint).add(ms);
        if (watch.pointerTick) watch.pointerPaintCpu.add(cpu);
        auto* w = static_cast<QWidget*>(o);
        watch.widthPx = w->width();
        watch.heightPx = w->height();
        return done;
    }
};

// The sample's data folder beside this program: the folder holding the first unit's set.
fs::path sampleData(const fs::path& bin) {
    for (const auto& e : fs::directory_iterator(bin))
        if (e.is_directory() && fs::exists(e.path() / "288820.mxy")) return e.path();
    return {};
}

void countTicks(qz::frmYanShi& y) {
    for (forms::Timer* t : {&y.Timer1, &y.Timer2, &y.Timer3, &y.Timer5, &y.TimerRM, &y.TimerRS, &y.TimEnd}) {
        const bool pointer = t == &y.Timer2;
        auto tick = t->Tick;
        t->Tick = [tick, pointer] {
            ++watch.tick;
            watch.showing = false;
            watch.pointerTick = pointer;
            if (pointer) ++watch.pointerTicks;
            const long before = watch.changes;
            tick();
            const long made = watch.changes - before;
            if (made > 0) ++watch.changingTicks;
            if (pointer) watch.pointerChanges.add(static_cast<double>(made));
        };
    }
}

}  // namespace

int main(int argc, char** argv) {
    const long wanted = argc > 1 ? std::max(0L, std::atol(argv[1])) : 8;
    const fs::path bin = fs::absolute(argv[0]).parent_path();
    const fs::path data = sampleData(bin);
    if (data.empty()) {
        std::fprintf(stderr, "no sample module beside %s\n", bin.c_str());
        return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt warns without a runtime folder; give it a private one.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        char dir[] = "/tmp/qz-bench-XXXXXX";
        if (mkdtemp(dir)) setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    BenchApp app(argc, argv);
    CountingHost host;
    harness::NoNetwork http;
    platform::RecordingShell shell;
    const std::string root = "/tmp/qz-bench-player-qt";
    fs::create_directories(root);
    platform::SettingsStore settings(root + "/registry.ini");
    qz::Services s;
    s.host = &host;
    s.http = &http;
    s.shell = &shell;
    s.settings = &settings;
    s.programFolder = bin.string();
    qz::Program program(s);

    qz::Shared& g = program.g;
    g.DataDir = data.string() + "/";
    g.ProgramFolder = bin.string();
    g.TextsFilePath = g.DataDir + "288890.mxy";
    g.QuestionCount = 1;
    g.CurrentQuestion = 1;
    g.CurrentStep = 1;
    g.FirstStepLine[1] = 1;
    g.InteractionMode = 2;

    int demonstrations = 0, unfinished = 0;
    const auto start = Clock::now();
    try {
        program.rt.invoke([&] {
            program.frmTm().show();
            program.frmMain().show();
        });
        auto runFor = [&](int ms) {
            const auto t0 = Clock::now();
            while (msSince(t0) < ms) program.rt.pump(std::max(1, ms - static_cast<int>(msSince(t0))));
        };
        runFor(300);
        for (int set = 20; set <= 39 && (wanted == 0 || demonstrations < wanted); ++set) {
            const std::string steps = g.DataDir + "2888" + std::to_string(set) + ".mxy";
            if (!fs::exists(steps)) continue;
            g.StepsFilePath = steps;
            const std::vector<std::string> lines = platform::readLines(steps);
            long first = 1;
            for (long n = 1; n <= static_cast<long>(lines.size()) && (wanted == 0 || demonstrations < wanted); ++n) {
                if (qz::steps::stepCode(lines[static_cast<std::size_t>(n - 1)]) != "9999") continue;
                g.FirstStepLine[1] = static_cast<std::int32_t>(first);
                first = n + 1;
                program.rt.invoke([&] {
                    g.DemoRunning = true;
                    program.frmMain().hide();
                    program.frmTm().hide();
                    qz::frmYanShi& y = program.frmYanShi();
                    countTicks(y);
                    watch.player = &y;
                    watch.showing = true;
                    y.show();
                });
                ++demonstrations;
                const auto t0 = Clock::now();
                while (program.loadedFrmYanShi() && msSince(t0) < 120000) program.rt.pump(100);
                if (program.loadedFrmYanShi()) {
                    ++unfinished;
                    program.rt.invoke([&] { program.frmYanShi().unload(); });
                }
                watch.player = nullptr;
                runFor(100);
            }
        }
    } catch (const forms::ProgramEnd&) {
        std::fprintf(stderr, "the program ended during the demonstrations\n");
        return 1;
    }

    std::printf("%d demonstrations in %.1f s, %d not finished by themselves; player window %d x %d px\n",
                demonstrations, msSince(start) / 1000, unfinished, watch.widthPx, watch.heightPx);
    std::printf("  %-34s %7s %10s %10s %10s\n", "repaint after a tick", "count", "mean (ms)", "p99 (ms)", "worst (ms)");
    watch.pointerPaint.print("pointer tick (Timer2), paint");
    watch.pointerPaintCpu.print("pointer tick, paint, thread CPU");
    watch.pointerFlush.print("pointer tick, paint + flush");
    watch.otherPaint.print("other player timers, paint");
    watch.otherFlush.print("other player timers, paint + flush");
    std::printf("ticks %ld (pointer %ld), %ld of them changing the player's controls\n", watch.tick, watch.pointerTicks,
                watch.changingTicks);
    std::printf("control changes per pointer tick: mean %.1f, most %.0f\n", watch.pointerChanges.mean(),
                watch.pointerChanges.worst);
    std::printf("ticks followed by a repaint %ld; second repaints after one tick %ld\n", watch.ticksPainted,
                watch.extraPaints);
    return 0;
}
