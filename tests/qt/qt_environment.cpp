// One QApplication for the whole binary, on the offscreen platform so that pixels can be read
// back without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    static inline char name_[] = "test_qthost";
    static inline char* argv_[] = {name_, nullptr};
    static inline int argc_ = 1;
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
