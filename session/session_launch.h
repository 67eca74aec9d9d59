// What every road into a session shares, whoever starts it: the home screen's lists and papers,
// or the score report's redo while the home screen is unloaded.
#pragma once

#include <string>

#include "forms/on_error.h"

namespace qz {

class Program;

// Builds question set n (0 to 19) from a code list, filling QuestionCodes and QuestionCount.
// Returns n when the set was written whole, -1 otherwise (unsound, unreadable, out of range).
int buildListSet(Program& p, const std::string& list, int n, forms::OnError& on);

// Opens set ListMode + ListBase for the session prepared in the shared state: checks that the
// set holds QuestionCount sound runs (builtSet is the number the list was built as; a whole
// unit reads its own set), reports its stuck steps, and fills the paths, FirstStepLine, the
// favourites' marks and UnreadRecords. False, with nothing of the session changed, when the
// set is not sound. progressUnread: the home screen could not read the unit progress.
bool prepareSession(Program& p, int builtSet, bool progressUnread, forms::OnError& on);

// The learner is told that the set of a list could not be opened.
void refuseLaunch(Program& p, forms::OnError& iconFailure);

}  // namespace qz
