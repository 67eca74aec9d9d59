// Time of one step advance in the simulated window, from the matching click to the next
// step laid out, beside the time of reading that step's line alone, on a 500-question set
// of ten steps each, for the first question and for the last (the longest way into the file).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/program.h"
#include "fuzz/headless_program.h"
#include "platform/textfile.h"
#include "simwindow/FrmMain.h"
#include "simwindow/step_record.h"

namespace {

constexpr int Questions = 500;
constexpr int StepsPerQuestion = 10;

std::string record(const std::string& code, int hint) {
    std::string r(196, '0');
    auto put = [&](int col, const std::string& s) { r.replace(static_cast<std::size_t>(col - 1), s.size(), s); };
    put(8, code);
    put(12, "888888");
    put(66, "01000010000060000300");
    char h[4];
    std::snprintf(h, sizeof h, "%03d", hint);
    put(112, "0010000100");
    put(122, h);
    return r;
}

double msSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main() {
    const std::string root = "/tmp/qz-bench-steps";
    harness::HeadlessProgram run(root, root + "/registry.ini");
    std::vector<std::string> steps, texts;
    for (int q = 1; q <= Questions; ++q)
        for (int s = 1; s <= StepsPerQuestion; ++s) steps.push_back(record(s == StepsPerQuestion ? "9999" : "0001", s));
    for (int i = 1; i <= 100; ++i) texts.push_back((i < 10 ? "00" : i < 100 ? "0" : "") + std::to_string(i) + "点击这里的按钮");
    platform::writeLinesReplace(run.data + "288820.mxy", steps);
    platform::writeLinesReplace(run.data + "288890.mxy", texts);

    qz::Shared& g = run.practice();
    g.QuestionCount = Questions;
    for (int q = 1; q <= Questions; ++q) g.FirstStepLine[static_cast<std::size_t>(q)] = (q - 1) * StepsPerQuestion + 1;
    qz::FrmMain& m = run.openSession();
    // The panel's first display arms the window's one-shot layout; let it run.
    run.host.runFor(300);

    std::printf("%-10s %18s %18s\n", "question", "advance (ms/step)", "line read (ms)");
    for (int q : {1, Questions}) {
        g.CurrentQuestion = static_cast<std::int16_t>(q);
        constexpr int Rounds = 20;
        double advance = 0, read = 0;
        int n = 0;
        for (int round = 0; round < Rounds; ++round) {
            g.CurrentStep = 1;
            m.setData();
            for (int step = 1; step < StepsPerQuestion; ++step) {
                auto t0 = std::chrono::steady_clock::now();
                m.Label1_MouseUp(1, 0, 0, 0);  // the matching release over the hot spot
                advance += msSince(t0);
                t0 = std::chrono::steady_clock::now();
                auto line = qz::steps::numberedLine(g.StepsFilePath, g.FirstStepLine[static_cast<std::size_t>(q)] + step);
                read += msSince(t0);
                if (!line || *line != m.laidOutRecord()) {
                    std::fprintf(stderr, "step %d of question %d was not laid out\n", step + 1, q);
                    return 1;
                }
                ++n;
            }
        }
        std::printf("%-10d %18.4f %18.4f\n", q, advance / n, read / n);
    }
    return 0;
}
