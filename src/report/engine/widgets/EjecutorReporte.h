#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/SolicitudReporte.h"

#include <QDateTime>
#include <QPointer>
#include <functional>

namespace rp::ui {
class Operador;
}

namespace rp::motor {

class VentanaVistaPrevia;

// Runs a report request to its destination: reads the template, prepares the
// report and sends it to the preview window (shown maximised, laid out while
// the rows arrive), the printer (with the print dialog through the operator
// when the request asks for it), a PDF file or a CSV file. Destinations 2 and
// 3 produce no output.
class EjecutorReporte {
public:
    enum class Resultado { Mostrado, Impreso, Exportado, Cancelado, SinSalida };

    EjecutorReporte(FuenteDatos fuente, rp::ui::Operador& operador)
        : fuente_(std::move(fuente)), operador_(operador) {}

    // Receives the request's one-line form before each run (--trace-sql).
    void fijarTraza(std::function<void(const QString&)> traza) { traza_ = std::move(traza); }
    // Opens the history of a preview's detail line (double click or Enter);
    // without it those lines open nothing.
    using AbrirDetalle = std::function<void(VentanaVistaPrevia& ventana, const QString& clave)>;
    void fijarDetalle(AbrirDetalle abrir) { detalle_ = std::move(abrir); }
    // The date and time printed on the report (tests pin it).
    void fijarMomento(const QDateTime& momento) { momento_ = momento; }

    // Throws ErrorMotor (template, formula, output errors) and rp::db::DbError
    // (the statement failed). The preview window deletes itself when closed.
    Resultado ejecutar(const SolicitudReporte& solicitud);

    // The preview window of the last screen run (null once closed).
    VentanaVistaPrevia* ventana() const { return ventana_; }
    // Sheets sent by the last printer run.
    int hojasImpresas() const { return hojas_; }

private:
    FuenteDatos fuente_;
    rp::ui::Operador& operador_;
    std::function<void(const QString&)> traza_;
    AbrirDetalle detalle_;
    QDateTime momento_;
    QPointer<VentanaVistaPrevia> ventana_;
    int hojas_ = 0;
};

} // namespace rp::motor
