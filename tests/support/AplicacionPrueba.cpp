// One QApplication for the whole test binary (widget tests run on the
// offscreen platform when no display is set).
#include "AplicacionPrueba.h"

#include <gtest/gtest.h>

namespace rp::prueba {

QApplication& aplicacion() {
    static int argc = 1;
    static char nombre[] = "rp_tests";
    static char* argv[] = {nombre, nullptr};
    if (auto* existente = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existente;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return *new QApplication(argc, argv);
}

namespace {

class EntornoQt : public ::testing::Environment {
public:
    void SetUp() override { aplicacion(); }
    void TearDown() override { delete QCoreApplication::instance(); }
};

const auto* const kEntorno = ::testing::AddGlobalTestEnvironment(new EntornoQt);

} // namespace

} // namespace rp::prueba
