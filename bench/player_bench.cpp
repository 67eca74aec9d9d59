// The player on the virtual clock: every demonstration of the sample module played to its
// end, with the real time each pointer tick takes (drawn-arrow ticks and cursor-picture ticks
// apart), and the time of one step layout on a 500-question set of ten steps each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "demo/frmYanShi.h"
#include "fuzz/headless_program.h"
#include "platform/textfile.h"
#include "session/FrmTm.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"

namespace fs = std::filesystem;

namespace {

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

struct Ticks {
    double total = 0, worst = 0;
    long n = 0;
    void add(double ms) {
        total += ms;
        worst = std::max(worst, ms);
        ++n;
    }
    void print(const char* what) const {
        std::printf("%-28s %8ld %12.4f %12.4f\n", what, n, n ? total / static_cast<double>(n) : 0.0, worst);
    }
};

// The sample's data folder beside this program: the folder holding the first unit's set.
fs::path sampleData(const fs::path& bin) {
    for (const auto& e : fs::directory_iterator(bin))
        if (e.is_directory() && fs::exists(e.path() / "288820.mxy")) return e.path();
    return {};
}

std::string record(const std::string& code) {
    std::string r(196, '0');
    auto put = [&](int col, const std::string& s) { r.replace(static_cast<std::size_t>(col - 1), s.size(), s); };
    put(8, code);
    put(12, "888888");
    put(66, "01000010000060000300");
    put(112, "0010000100001");
    return r;
}

}  // namespace

int main(int, char** argv) {
    const fs::path bin = fs::absolute(argv[0]).parent_path();
    const fs::path data = sampleData(bin);
    if (data.empty()) {
        std::fprintf(stderr, "no sample module beside %s\n", bin.c_str());
        return 1;
    }
    const std::string root = "/tmp/qz-bench-player";
    harness::HeadlessProgram run(root, root + "/registry.ini");
    qz::Shared& g = run.practice();
    g.DataDir = data.string() + "/";
    g.ProgramFolder = bin.string();
    g.TextsFilePath = g.DataDir + "288890.mxy";
    qz::FrmMain& m = run.openSession();
    qz::FrmTm& tm = run.p().frmTm();

    Ticks arrow, cursor;
    int demonstrations = 0, unfinished = 0;
    for (int set = 20; set <= 39; ++set) {
        const std::string steps = g.DataDir + "2888" + std::to_string(set) + ".mxy";
        if (!fs::exists(steps)) continue;
        g.StepsFilePath = steps;
        const std::vector<std::string> lines = platform::readLines(steps);
        long first = 1;
        for (long n = 1; n <= static_cast<long>(lines.size()); ++n) {
            if (qz::steps::stepCode(lines[static_cast<std::size_t>(n - 1)]) != "9999") continue;
            g.FirstStepLine[1] = static_cast<std::int32_t>(first);
            first = n + 1;
            g.DemoRunning = true;
            m.hide();
            tm.hide();
            qz::frmYanShi& y = run.p().frmYanShi();
            auto tick = y.Timer2.Tick;
            y.Timer2.Tick = [&, tick] {
                const auto t0 = std::chrono::steady_clock::now();
                tick();
                const double ms = msSince(t0);
                if (run.p().loadedFrmYanShi() && y.ImgICO.visible()) cursor.add(ms);
                else arrow.add(ms);
            };
            y.show();
            ++demonstrations;
            for (int ms = 0; ms < 120000 && run.p().loadedFrmYanShi(); ms += 500) run.host.runFor(500);
            if (run.p().loadedFrmYanShi()) {
                ++unfinished;
                run.host.key(27);
                run.host.runFor(600);
            }
            run.host.runFor(200);
        }
    }
    std::printf("%d demonstrations, %d not finished by themselves\n", demonstrations, unfinished);
    std::printf("%-28s %8s %12s %12s\n", "pointer tick", "ticks", "mean (ms)", "worst (ms)");
    arrow.print("drawn arrow");
    cursor.print("cursor picture");

    // Step layout on a large set, for the first question and the last.
    constexpr int Questions = 500, StepsPerQuestion = 10;
    std::vector<std::string> big;
    for (int q = 1; q <= Questions; ++q)
        for (int s = 1; s <= StepsPerQuestion; ++s) big.push_back(record(s == StepsPerQuestion ? "9999" : "0001"));
    platform::writeLinesReplace(run.data + "288821.mxy", big);
    g.StepsFilePath = run.data + "288821.mxy";
    std::printf("%-10s %18s\n", "question", "layout (ms/step)");
    for (int q : {1, Questions}) {
        g.FirstStepLine[1] = (q - 1) * StepsPerQuestion + 1;
        g.DemoRunning = true;
        m.hide();
        tm.hide();
        qz::frmYanShi& y = run.p().frmYanShi();
        y.show();
        double total = 0;
        int n = 0;
        for (int round = 0; round < 20; ++round)
            for (int step = 1; step < StepsPerQuestion; ++step) {
                y.PlayerStep = static_cast<std::int16_t>(step);
                const auto t0 = std::chrono::steady_clock::now();
                y.setData();
                total += msSince(t0);
                ++n;
            }
        std::printf("%-10d %18.4f\n", q, total / static_cast<double>(n));
        run.host.key(27);
        run.host.runFor(600);
    }
    return 0;
}
