// Per-procedure error handling: each statement runs through the helper, which catches a
// run-time error, reports it (or not) with the procedure's tag, and lets the next one run.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/vb_error.h"

namespace forms {

using ErrorReporter = std::function<void(const std::string& tag, const platform::VbError& e)>;

// Turns whatever a statement threw into the platform's run-time error; program end and
// other control flow pass through untouched.
platform::VbError asVbError(std::exception_ptr e);

class OnError {
public:
    // Silent handling: a failing statement is skipped without a report.
    OnError() = default;
    // Reporting handling with the procedure's tag.
    OnError(std::string tag, ErrorReporter reporter) : tag_(std::move(tag)), reporter_(std::move(reporter)) {}

    template <class F>
    bool operator()(F&& statement) {
        try {
            std::forward<F>(statement)();
            return true;
        } catch (const platform::VbError& e) {
            failed(e);
        } catch (const std::exception&) {
            failed(asVbError(std::current_exception()));
        }
        return false;
    }

    int failures() const { return failures_; }
    const std::string& tag() const { return tag_; }

private:
    void failed(const platform::VbError& e) {
        ++failures_;
        if (reporter_) reporter_(tag_, e);
    }
    std::string tag_;
    ErrorReporter reporter_;
    int failures_ = 0;
};

}  // namespace forms
