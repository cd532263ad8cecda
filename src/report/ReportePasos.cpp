#include "report/ReportePasos.h"

#include "db/provider/ProviderError.h"
#include "report/ReporteControl.h"
#include "report/engine/ErrorMotor.h"

namespace rp::report {

suite::CodErr ReportePasos::errorDe(std::exception_ptr excepcion) {
    const QString origen = QStringLiteral("rp_tarifario");
    try {
        std::rethrow_exception(excepcion);
    } catch (const suite::CodErr& e) {
        return e;
    } catch (const ReporteControl::Fallo& e) {
        return {e.numero(), e.descripcion(), origen};
    } catch (const db::DbError& e) {
        return {e.number(), e.description(), e.source().isEmpty() ? origen : e.source()};
    } catch (const motor::ErrorMotor& e) {
        return {ReporteControl::ErrorMotorReportes, e.texto(), origen};
    } catch (const std::exception& e) {
        return {ReporteControl::ErrorMotorReportes, QString::fromLocal8Bit(e.what()), origen};
    } catch (...) {
        return {ReporteControl::ErrorMotorReportes, QStringLiteral("Error desconocido"), origen};
    }
}

} // namespace rp::report
