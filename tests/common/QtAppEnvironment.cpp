// One QApplication for the whole test binary (widget tests run on the
// offscreen platform when no display is set).
#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char nombre_[32] = "rp_tests";
    char* argv_[2] = {nombre_, nullptr};
    std::unique_ptr<QApplication> app_;
};

const auto* const kEntorno = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

} // namespace
