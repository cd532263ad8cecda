#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace rp::suite {

// The suite's report output: where reports go (screen or printer, with or
// without the print dialog), the program folder the templates live in, and
// ImprimirReporte, which hands a finished report request on to the report
// engine. The engine is reached through an installed function (the program
// installs it at start), so this library does not depend on the engine.
//
// Settings a report sets before ImprimirReporte (see docs/reports.md):
//  - ConFormulas: the five formula texts reach the template's slots (off: the
//    template keeps its own slot texts);
//  - ConOrden: the sort fields reach the report (off: the template's own
//    order);
//  - ConTextosAdicionales: the texts of FormulasAdicionales reach the report
//    (off: they are not used);
//  - FormulasAdicionales(textos, primeraRanura): further formula assignments
//    ("Precio3='Mayorista'"), element i taking formula slot primeraRanura + i;
//    blank elements are skipped (the price-history report passes its price
//    column titles with 5, the slot after the five title slots);
//  - CopiasMaximas: the most copies one print may make, whatever the print
//    dialog asked for (20 unless changed).
class DLL_Print {
public:
    static constexpr int DestinoPantalla = 0;
    static constexpr int DestinoImpresora = 1;

    // A report request as ImprimirReporte hands it to the engine.
    struct Trabajo {
        QString archivo; // template: a path, or a report name in pPathSistema
        QStringList orden;
        QString formula;
        QString cadenaConexion;
        std::array<std::optional<QString>, 5> formulas;
        std::array<QString, 3> subinformes;
        // Further formula texts by slot number (slot, text), in slot order.
        QList<std::pair<int, QString>> formulasAdicionales;
        int destino = DestinoPantalla;
        bool conDialogo = true;
        int copiasMaximas = 20;
    };
    using Impresor = std::function<void(const Trabajo&)>;

    QString pPathSistema;
    int Destino = DestinoPantalla;
    bool ConDialogo = true;

    bool ConFormulas = true;
    bool ConOrden = true;
    bool ConTextosAdicionales = true;
    int CopiasMaximas = 20;

    void FormulasAdicionales(const QStringList& textos, int primeraRanura);
    const QList<std::pair<int, QString>>& formulasAdicionales() const { return adicionales_; }

    // Hands the request to the installed engine. Without one, the operator is
    // told that reports cannot be shown.
    void ImprimirReporte(const QString& NombreRep, const QStringList& Orden, const QString& Formula,
                         const QString& gConnString,
                         const std::optional<QString>& TituloParametro = std::nullopt,
                         const std::optional<QString>& TituloParametro1 = std::nullopt,
                         const std::optional<QString>& TituloParametro2 = std::nullopt,
                         const std::optional<QString>& TituloParametro3 = std::nullopt,
                         const std::optional<QString>& TituloParametro4 = std::nullopt,
                         const QString& SR1 = QString(), const QString& SR2 = QString(),
                         const QString& SR3 = QString());

    // The request ImprimirReporte would hand on (for the trace and tests).
    Trabajo armarTrabajo(const QString& NombreRep, const QStringList& Orden, const QString& Formula,
                         const QString& gConnString,
                         const std::array<std::optional<QString>, 5>& titulos,
                         const std::array<QString, 3>& subinformes) const;

    static void establecerImpresor(Impresor impresor);
    static bool hayImpresor();

private:
    QList<std::pair<int, QString>> adicionales_;
};

// The process's report output object, created on first use.
DLL_Print& dllPrint();

} // namespace rp::suite
