#pragma once

#include "report/engine/FuenteDatos.h"
#include "report/engine/NodoFormula.h"
#include "report/engine/Plantilla.h"
#include "report/engine/SolicitudReporte.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <memory>

namespace rp::motor {

class LectorFilas;

struct CampoOrden {
    Formula campo; // a {tabla.campo} reference
    bool descendente = false;
    // "+{tabla.campo}" / "-{tabla.campo}" / "{tabla.campo}". Throws ErrorMotor.
    static CampoOrden leer(const QString& texto);
};

// A template and a request put together, ready to run: the formula slots with
// the request's texts applied, the visible columns, the selection formula and
// the statement that brings the rows (with the selection pushed down as WHERE
// when it has an SQL form, evaluated in memory otherwise).
class ReportePreparado {
public:
    // Throws ErrorMotor (formula and sort field errors, unknown parameters,
    // fields of tables the template's source does not join...).
    static std::shared_ptr<const ReportePreparado>
    preparar(Plantilla plantilla, const SolicitudReporte& solicitud,
             const QDateTime& momentoImpresion = QDateTime::currentDateTime());

    const Plantilla& plantilla() const { return plantilla_; }
    const SolicitudReporte& solicitud() const { return solicitud_; }
    const QDateTime& momentoImpresion() const { return momento_; }

    // A formula slot (template defaults, replaced by the request's texts).
    Formula formula(const QString& nombre) const;
    // Slot names in template order, then the request's own.
    QStringList nombresFormulas() const;

    // Keys of the hidden columns (request list plus the template's slot).
    const QStringList& columnasOcultas() const { return ocultas_; }
    // Indexes in plantilla().columnas of the columns shown, in order.
    const QList<int>& columnasVisibles() const { return visibles_; }

    const Formula& seleccion() const { return seleccion_; }
    bool filtroEnMemoria() const { return filtroEnMemoria_; }
    bool ordenEnMemoria() const { return ordenEnMemoria_; }
    // Sort fields of the files (CSV, Excel): the request's, flat.
    const QList<CampoOrden>& orden() const { return orden_; }
    // Sort fields of the pages: the group field first, then orden().
    const QList<CampoOrden>& ordenPaginas() const { return ordenPaginas_; }
    // The fields the rows carry, in the order of the statement's columns.
    const QList<NodoCampo>& campos() const { return campos_; }
    // The statement that brings the rows (SELECT, or EXEC for a procedure),
    // for the files and for the pages (sorted by the group first).
    const QString& sentencia() const { return sentencia_; }
    const QString& sentenciaPaginas() const { return sentenciaPaginas_; }
    // For laying a page out without the pages before it (IndicePaginas): the
    // pages' statement reduced to the first sort field of the pages, as c0,
    // and the pages' statement limited to the rows whose first sort field
    // comes at or after `clave`. Empty when the database cannot do it (a
    // procedure, a selection or a sort in memory, no sort field, a key that
    // is neither text nor number). `conNulos`: the rows without a key come
    // after the others (the database sorts nulls last) and are kept; from a
    // null `clave`, the rows without a key.
    QString sentenciaClaves() const;
    QString sentenciaPaginasDesde(const QVariant& clave, bool conNulos = false) const;
    bool esProcedimiento() const { return plantilla_.origen.tipo == OrigenDatos::Procedimiento; }

    // Runs the statement; the rows come selected and sorted, for a file or
    // (`paginas`) for laying the report out on pages.
    std::unique_ptr<LectorFilas> abrir(const FuenteDatos& fuente, bool paginas = false) const;
    // The columns laid out on pages: the visible ones the template does not
    // keep for the files only.
    QList<int> columnasPagina() const;

    // Reads a slot assignment text; a value in apostrophes that holds an
    // apostrophe of its own ("Nombreempresa = 'Mc Donald's'") is taken as
    // the plain text between the outer apostrophes. Throws ErrorMotor.
    static std::pair<QString, Formula> leerAsignacion(const QString& texto, const QString& origen);

private:
    ReportePreparado() = default;
    void aplicarFormulas();
    void calcularColumnas();
    void recogerCampos();
    void armarSentencia();
    QString columnaSql(const NodoCampo& campo) const;

    Plantilla plantilla_;
    SolicitudReporte solicitud_;
    QDateTime momento_;
    QList<std::pair<QString, Formula>> formulas_;
    QStringList ocultas_;
    QList<int> visibles_;
    Formula seleccion_;
    bool filtroEnMemoria_ = false;
    bool ordenEnMemoria_ = false;
    QList<CampoOrden> orden_;
    QList<CampoOrden> ordenPaginas_;
    QList<NodoCampo> campos_;
    QString sentencia_;
    QString sentenciaPaginas_;
    QString columnasSql_;     // "SELECT ..." of both statements
    QString desdeSql_;        // " FROM ..."
    QString condicion_;       // their WHERE condition (empty: none)
    QString ordenPaginasSql_; // " ORDER BY ..." of the pages
};

} // namespace rp::motor
