// The question bank's units from sample/questions.txt: the steps files, question files and the
// texts file the practice reads, each question a short run of steps on the drafting screenshots.
#pragma once

#include <string>
#include <vector>

#include "tools/sample_source.h"

namespace qz::tools {

struct UnitFiles {
    std::vector<std::string> steps;      // one record per line
    std::vector<std::string> questions;  // one record per question
};

struct QuestionBank {
    std::vector<UnitFiles> units;    // in the order of ver.txt
    std::vector<std::string> texts;  // lines of the texts file, numbered from 001
};

// "unit = NAME" starts each unit, named and ordered as in ver.txt; "q = TASK ; STEP ; STEP ..."
// is one question, its "9999" added. A step is its code, then any of: a place of the
// screenshots, "M" and a cursor number, "back" and a count, "+" and a scene for a step that
// points at nothing. Throws SourceError.
QuestionBank readQuestions(const SourceFile& src, const ModuleInfo& module);

}  // namespace qz::tools
