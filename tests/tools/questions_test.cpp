#include "tools/questions.h"

#include <gtest/gtest.h>

#include "tests/support/message_of.h"
#include "tests/support/temp_dir.h"
#include "tools/menus.h"
#include "tools/steps.h"

using namespace qz::tools;
using testsupport::TempDir;
using testsupport::writeFileBytes;

namespace {

const ModuleInfo kModule{"CAD", "计算机辅助设计", "cadbank", "7", {"绘图环境设置", "基本绘图命令"}};

QuestionBank read(const std::string& text) {
    TempDir dir;
    writeFileBytes(dir.file("questions.txt"), text);
    return readQuestions(readSource(dir.file("questions.txt")), kModule);
}

}  // namespace

TEST(QuestionSource, WritesRunsEndingInTheirOnlyEndAndNumbersTheHints) {
    const QuestionBank bank = read(
        "unit = 绘图环境设置\n"
        "q = 单击“直线”按钮，然后按Enter键。 ; 0001 tool.直线 ; 6002\n"
        "q = 按Shift+A键，再按Shift+Enter键。 ; 6165 ; 6102 ; 2000 drawing\n"
        "unit = 基本绘图命令\n"
        "q = 单击“直线”按钮。 ; 0001 tool.直线 M01\n");
    ASSERT_EQ(bank.units.size(), 2u);
    EXPECT_EQ(bank.units[0].questions,
              (std::vector<std::string>{"000103单击“直线”按钮，然后按Enter键。", "000204按Shift+A键，再按Shift+Enter键。"}));
    EXPECT_EQ(bank.units[1].questions, (std::vector<std::string>{"010102单击“直线”按钮。"}));
    ASSERT_EQ(bank.units[0].steps.size(), 7u);
    std::vector<std::string> codes;
    for (const std::string& r : bank.units[0].steps) codes.push_back(r.substr(7, 4));
    EXPECT_EQ(codes, (std::vector<std::string>{"0001", "6002", "9999", "6165", "6102", "2000", "9999"}));
    // The same hint is written once and named by its number wherever it is used.
    EXPECT_EQ(bank.texts, (std::vector<std::string>{"001单击“直线”按钮", "002按Enter键", "003按Shift+A键",
                                                    "004按Shift+Enter键", "005按Enter键，或在绘图区域中单击鼠标右键"}));
    EXPECT_EQ(bank.units[1].steps[0].substr(121, 3), "001");
    EXPECT_EQ(bank.units[0].steps[5].substr(121, 3), "005");
    EXPECT_EQ(bank.units[0].steps[5].substr(65, 20), "00900013500600003750");  // the right click's place
    EXPECT_EQ(bank.units[1].steps[0].substr(100, 5), "M0001");
    BankFacts facts{{"cadw01", "cadw02", "cadp01", "cadp02", "cadp03"}, {1}, bank.texts, menuFileLines()};
    for (std::size_t u = 0; u < 2; ++u) {
        EXPECT_NO_THROW(checkUnit(static_cast<int>(u), bank.units[u].steps, bank.units[u].questions, facts));
    }
}

TEST(QuestionSource, ATypedStepNamesItsAnswerAndWhatTheBoxHoldsFirst) {
    const QuestionBank bank = read(
        "unit = 绘图环境设置\n"
        "q = 重命名。 ; 0021 commandline answer=图纸1 prefill=新建文件夹\n"
        "unit = 基本绘图命令\n"
        "q = 输入。 ; 0020 commandline answer=line\n");
    EXPECT_EQ(bank.texts, (std::vector<std::string>{"001图纸1", "002新建文件夹", "003line"}));
    EXPECT_EQ(bank.units[0].steps[0].substr(105, 6), "002001");
    EXPECT_EQ(bank.units[1].steps[0].substr(105, 6), "000003");
}

TEST(QuestionSource, PointsAtTheLineToFix) {
    const std::string second = "unit = 基本绘图命令\nq = 按F9键。 ; 6020\n";
    struct Case {
        std::string text, error;
    } cases[] = {
        {"unit = 基本绘图命令\n", ":1: expected unit \"绘图环境设置\""},
        {"q = 按F9键。 ; 6020\n", ":1: a question comes after its \"unit = \" line"},
        {"unit = 绘图环境设置\nq = 按F9键。\n" + second, ":2: expected \"TASK ; STEP ; ...\""},
        {"unit = 绘图环境设置\nq = 单击。 ; 0001 tool.不存在\n" + second, ":2: \"tool.不存在\" is no place"},
        {"unit = 绘图环境设置\nq = 单击。 ; 001 tool.直线\n" + second, ":2: a step starts with its four-character code"},
        {"unit = 绘图环境设置\nq = 完成。 ; 0001 tool.直线 ; 9999\n" + second, ":2: the \"9999\" step is added by itself"},
        {"unit = 绘图环境设置\nq = 按键。 ; 6001\n" + second, ":2: no hint for the step \"6001\""},
        {"unit = 绘图环境设置\ntopic = 1\n" + second, ":2: unknown key \"topic\""},
        {"unit = 绘图环境设置\nq = 按F9键。 ; 6020\n", "no questions for unit \"基本绘图命令\""},
    };
    for (const auto& c : cases) {
        const std::string error = testsupport::messageOf<SourceError>([&] { read(c.text); });
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << "\n-> " << error;
    }
}
