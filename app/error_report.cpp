// The error report and the run log.
#include <string>

#include "app/program.h"
#include "platform/http.h"
#include "platform/legacy_text.h"
#include "platform/osinfo.h"
#include "platform/textfile.h"

namespace qz {

std::string Program::errorReportUrl(const std::string& tag, std::int32_t number, const std::string& description) const {
    // Every value is percent-encoded so that a description with line breaks, "&" or "#"
    // cannot break the request or smuggle keys into it.
    using platform::percentEncode;
    return svc.reportServer + "/up/error/submit.asp?pronm=" + percentEncode(g.ModuleName) +
           "&pver=" + percentEncode(g.QuestionBankVersion) + "&osver=" + percentEncode(g.OsVersion) +
           "&errsub=" + percentEncode(tag) + "&errno=" + std::to_string(number) +
           "&errdescript=" + percentEncode(description);
}

void Program::ReportError(const std::string& tag, std::int32_t number, const std::string& description) {
    forms::OnError silent;
    // The chain is cut here: a failure of the report's own request is not reported. Handlers
    // that run while it waits report their own failures as usual, each with its own report.
    silent([&] { fetchPolled(errorReportUrl(tag, number, description), 1, silent); });
    std::string text = "软件运行提示:" + tag + description + "\r\n" + "系统版本:" + g.OsVersion + ",软件版本:" +
                       g.QuestionBankVersion + "," + std::to_string(number) + "\r\n";
    silent([&] { AppendLogEntry(g.RunLogPath, text); });
}

void Program::AppendLogEntry(const std::string& path, const std::string& text) {
    forms::OnError silent;
    silent([&] {
        if (path.empty()) platform::raise(75);
        // The text goes out as it is, line breaks and all; its own final line break leaves
        // the entry ending in an empty line.
        platform::appendLines(path, {"", platform::localTimeStamp("%Y-%m-%d %H:%M:%S"), platform::trimSpaces(text)});
    });
}

void Program::logAtStart(const std::string& text) {
    if (g.RunLogPath.empty())
        heldLogEntries_.push_back(text);
    else
        AppendLogEntry(g.RunLogPath, text);
}

void Program::openRunLog(const std::string& path) {
    g.RunLogPath = path;
    for (const std::string& text : heldLogEntries_) AppendLogEntry(g.RunLogPath, text);
    heldLogEntries_.clear();
}

}  // namespace qz
