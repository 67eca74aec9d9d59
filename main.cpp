// Temporary entry point: one test window through the Qt host, until the program's own start.
#include <QApplication>
#include <memory>

#include "forms/runtime.h"
#include "host/qt/qt_host.h"

namespace {

class TrialForm : public forms::Form {
public:
    explicit TrialForm(forms::Runtime& rt) : Form(rt, "frmTrial") {
        move(3000, 2400, 6000, 3600);
        setBackColor(forms::rgb(236, 244, 252));
        label.move(600, 600, 4800, 450);
        label.setFontSize(14);
        label.setBackStyle(0);
        label.setForeColor(forms::rgb(20, 60, 120));
        label.setCaption("正在启动…");
        label.Click = [this] { unload(); };
        shape.move(600, 1500, 4800, 1200);
        shape.shape = 4;
        shape.fillStyle = 0;
        shape.fillColor = forms::rgb(70, 130, 200);
        shape.borderColor = forms::rgb(20, 60, 120);
        shape.borderWidth = 2;
        status.move(600, 2900, 4800, 300);
        status.setBackStyle(0);
        timer.setInterval(500);
        timer.Tick = [this] {
            ++ticks_;
            status.setCaption("已等待 " + std::to_string(ticks_ / 2) + " 秒，单击上方文字退出");
            shape.fillColor = ticks_ % 2 ? forms::rgb(70, 130, 200) : forms::rgb(90, 170, 110);
            shape.changed();
        };
        timer.setEnabled(true);
    }

    forms::Label label{this, "Label1"};
    forms::Shape shape{this, "Shape1"};
    forms::Label status{this, "Label2"};
    forms::Timer timer{this, "Timer1"};

private:
    int ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qthost::QtHost host;
    forms::Runtime runtime(host);
    auto form = std::make_unique<TrialForm>(runtime);
    runtime.run([&] { form->show(); });
    form.reset();
    return 0;
}
