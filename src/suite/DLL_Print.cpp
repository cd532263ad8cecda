#include "suite/DLL_Print.h"

#include "ui/Operador.h"

namespace rp::suite {

namespace {

DLL_Print::Impresor& impresorInstalado() {
    static DLL_Print::Impresor impresor;
    return impresor;
}

} // namespace

void DLL_Print::FormulasAdicionales(const QStringList& textos, int primeraRanura) {
    adicionales_.clear();
    for (qsizetype i = 0; i < textos.size(); ++i) {
        if (!textos.at(i).trimmed().isEmpty())
            adicionales_.append({primeraRanura + static_cast<int>(i), textos.at(i)});
    }
}

DLL_Print::Trabajo DLL_Print::armarTrabajo(const QString& NombreRep, const QStringList& Orden,
                                           const QString& Formula, const QString& gConnString,
                                           const std::array<std::optional<QString>, 5>& titulos,
                                           const std::array<QString, 3>& subinformes) const {
    Trabajo t;
    t.archivo = NombreRep;
    if (ConOrden)
        t.orden = Orden;
    t.formula = Formula;
    t.cadenaConexion = gConnString;
    if (ConFormulas)
        t.formulas = titulos;
    t.subinformes = subinformes;
    if (ConTextosAdicionales)
        t.formulasAdicionales = adicionales_;
    t.destino = Destino;
    t.conDialogo = ConDialogo;
    t.copiasMaximas = CopiasMaximas;
    return t;
}

void DLL_Print::ImprimirReporte(const QString& NombreRep, const QStringList& Orden,
                                const QString& Formula, const QString& gConnString,
                                const std::optional<QString>& TituloParametro,
                                const std::optional<QString>& TituloParametro1,
                                const std::optional<QString>& TituloParametro2,
                                const std::optional<QString>& TituloParametro3,
                                const std::optional<QString>& TituloParametro4, const QString& SR1,
                                const QString& SR2, const QString& SR3) {
    const Trabajo t = armarTrabajo(
        NombreRep, Orden, Formula, gConnString,
        {TituloParametro, TituloParametro1, TituloParametro2, TituloParametro3, TituloParametro4},
        {SR1, SR2, SR3});
    const Impresor& impresor = impresorInstalado();
    if (!impresor) {
        ui::operador().mensaje(QString::fromUtf8("No hay un motor de reportes disponible para "
                                                 "mostrar el reporte %1")
                                   .arg(NombreRep),
                               ui::estilo::Critical, QStringLiteral("Aviso al operador"));
        return;
    }
    impresor(t);
}

void DLL_Print::establecerImpresor(Impresor impresor) {
    impresorInstalado() = std::move(impresor);
}

bool DLL_Print::hayImpresor() {
    return static_cast<bool>(impresorInstalado());
}

DLL_Print& dllPrint() {
    static DLL_Print objeto;
    return objeto;
}

} // namespace rp::suite
