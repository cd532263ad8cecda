#include "report/engine/ReportePreparado.h"

#include "report/engine/ContextoReporte.h"
#include "report/engine/EmisorSql.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ParserFormula.h"
#include "report/engine/ValoresFormula.h"

#include <QRegularExpression>
#include <QSet>

namespace rp::motor {

namespace {

constexpr int profundidadMaxima = 64;

// Collects the {tabla.campo} references of a formula, following {@slot}
// references into the slots' formulas.
void recoger(const Formula& f, const ReportePreparado& rep, QList<NodoCampo>& campos,
             QSet<QString>& vistos, int profundidad = 0) {
    if (!f || profundidad > profundidadMaxima)
        return;
    std::visit(
        [&](const auto& n) {
            using T = std::decay_t<decltype(n)>;
            if constexpr (std::is_same_v<T, NodoCampo>) {
                if (!vistos.contains(n.clave())) {
                    vistos.insert(n.clave());
                    campos << n;
                }
            } else if constexpr (std::is_same_v<T, NodoReferenciaFormula>) {
                recoger(rep.formula(n.nombre), rep, campos, vistos, profundidad + 1);
            } else if constexpr (std::is_same_v<T, NodoUnario>) {
                recoger(n.operando, rep, campos, vistos, profundidad + 1);
            } else if constexpr (std::is_same_v<T, NodoBinario>) {
                recoger(n.izquierdo, rep, campos, vistos, profundidad + 1);
                recoger(n.derecho, rep, campos, vistos, profundidad + 1);
            } else if constexpr (std::is_same_v<T, NodoFuncion>) {
                for (const auto& a : n.argumentos)
                    recoger(a, rep, campos, vistos, profundidad + 1);
            }
        },
        f->contenido);
}

QString tablaSinResultado(const QString& tabla) {
    const qsizetype pc = tabla.indexOf(QLatin1Char(';'));
    return pc < 0 ? tabla : tabla.left(pc);
}

} // namespace

CampoOrden CampoOrden::leer(const QString& texto) {
    CampoOrden c;
    // The sign becomes a blank, so error columns count in the text as given.
    QString t = texto;
    const qsizetype signo = t.indexOf(QRegularExpression(QStringLiteral("\\S")));
    if (signo >= 0 && (t.at(signo) == QLatin1Char('+') || t.at(signo) == QLatin1Char('-'))) {
        c.descendente = t.at(signo) == QLatin1Char('-');
        t[signo] = QLatin1Char(' ');
    }
    c.campo = ParserFormula::analizar(t, QStringLiteral("orden"));
    if (!c.campo || !std::holds_alternative<NodoCampo>(c.campo->contenido))
        throw ErrorMotor(QStringLiteral("campo de orden no válido: %1").arg(texto.trimmed()));
    return c;
}

std::pair<QString, Formula> ReportePreparado::leerAsignacion(const QString& texto,
                                                             const QString& origen) {
    try {
        AsignacionFormula a = ParserFormula::analizarAsignacion(texto, origen);
        return {a.nombre, a.valor};
    } catch (const ErrorMotor&) {
        static const QRegularExpression literal(
            QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*:?=\\s*(['\"])(.*)\\2\\s*$"),
            QRegularExpression::DotMatchesEverythingOption);
        const auto m = literal.match(texto);
        if (!m.hasMatch())
            throw;
        auto n = std::make_shared<NodoFormula>();
        n->contenido = NodoLiteral{QVariant(m.captured(3))};
        return {m.captured(1), n};
    }
}

std::shared_ptr<const ReportePreparado>
ReportePreparado::preparar(Plantilla plantilla, const SolicitudReporte& solicitud,
                           const QDateTime& momentoImpresion) {
    std::shared_ptr<ReportePreparado> r(new ReportePreparado());
    r->plantilla_ = std::move(plantilla);
    r->solicitud_ = solicitud;
    r->momento_ = momentoImpresion;

    for (const QString& sr : solicitud.subinformes) {
        const QString nombre = sr.trimmed();
        if (nombre.isEmpty())
            continue;
        bool existe = false;
        for (const QString& s : r->plantilla_.subinformes)
            existe = existe || s.compare(nombre, Qt::CaseInsensitive) == 0;
        if (!existe)
            throw ErrorMotor(QStringLiteral("subinforme inexistente: %1").arg(nombre));
    }

    r->aplicarFormulas();
    r->calcularColumnas();
    r->seleccion_ = ParserFormula::analizar(solicitud.formula, QStringLiteral("selección"));

    QStringList orden;
    for (const QString& o : solicitud.orden) {
        if (!o.trimmed().isEmpty())
            orden << o;
    }
    if (orden.isEmpty())
        orden = r->plantilla_.origen.ordenPorDefecto;
    if (r->plantilla_.grupo) {
        CampoOrden g;
        g.campo = r->plantilla_.grupo;
        r->ordenPaginas_ << g;
    }
    for (const QString& o : orden)
        r->orden_ << CampoOrden::leer(o);
    r->ordenPaginas_ << r->orden_;

    r->armarSentencia();
    return r;
}

Formula ReportePreparado::formula(const QString& nombre) const {
    for (const auto& [n, f] : formulas_) {
        if (n.compare(nombre, Qt::CaseInsensitive) == 0)
            return f;
    }
    return nullptr;
}

QStringList ReportePreparado::nombresFormulas() const {
    QStringList r;
    for (const auto& p : formulas_)
        r << p.first;
    return r;
}

void ReportePreparado::aplicarFormulas() {
    for (const FormulaPlantilla& f : plantilla_.formulas)
        formulas_ << std::make_pair(f.nombre, f.formula);
    QStringList textos;
    for (int i = 0; i < 5; ++i) {
        if (solicitud_.formulas[i])
            textos << *solicitud_.formulas[i];
    }
    textos << solicitud_.textosPrecio;
    for (const QString& t : textos) {
        if (t.trimmed().isEmpty())
            continue;
        const auto [nombre, valor] = leerAsignacion(t, QStringLiteral("fórmula"));
        bool reemplazada = false;
        for (auto& p : formulas_) {
            if (p.first.compare(nombre, Qt::CaseInsensitive) == 0) {
                p.second = valor;
                reemplazada = true;
            }
        }
        if (!reemplazada)
            formulas_ << std::make_pair(nombre, valor);
    }
}

void ReportePreparado::calcularColumnas() {
    static const QRegularExpression separador(QStringLiteral("[^A-Za-z0-9_]+"));
    for (const QString& c : solicitud_.columnasOcultas) {
        if (!c.trimmed().isEmpty())
            ocultas_ << c.trimmed();
    }
    if (!plantilla_.slotColumnasOcultas.isEmpty()) {
        if (const Formula f = formula(plantilla_.slotColumnasOcultas)) {
            ContextoReporte ctx(*this);
            const QString lista = EvaluadorFormula(ctx).evaluar(f).toString();
            ocultas_ << lista.split(separador, Qt::SkipEmptyParts);
        }
    }
    for (int i = 0; i < plantilla_.columnas.size(); ++i) {
        const QString& id = plantilla_.columnas.at(i).id;
        if (id.isEmpty() || !ocultas_.contains(id, Qt::CaseInsensitive))
            visibles_ << i;
    }
}

QString ReportePreparado::columnaSql(const NodoCampo& campo) const {
    const QString tabla = tablaSinResultado(campo.tabla);
    const QRegularExpression palabra(QStringLiteral("(^|[^A-Za-z0-9_#@$])%1($|[^A-Za-z0-9_#@$])")
                                         .arg(QRegularExpression::escape(tabla)),
                                     QRegularExpression::CaseInsensitiveOption);
    if (!palabra.match(plantilla_.origen.consulta).hasMatch())
        throw ErrorMotor(
            QStringLiteral("campo desconocido: {%1.%2}").arg(campo.tabla, campo.campo));
    return tabla + QLatin1Char('.') + campo.campo;
}

void ReportePreparado::recogerCampos() {
    QSet<QString> vistos;
    for (int i : visibles_)
        recoger(plantilla_.columnas.at(i).formula, *this, campos_, vistos);
    recoger(plantilla_.grupo, *this, campos_, vistos);
    recoger(plantilla_.detalle, *this, campos_, vistos);
    for (const Formula& f : plantilla_.tituloGrupo.formulas())
        recoger(f, *this, campos_, vistos);
    for (const Formula& f : plantilla_.pieGrupo.formulas())
        recoger(f, *this, campos_, vistos);
    for (const CampoOrden& o : ordenPaginas_)
        recoger(o.campo, *this, campos_, vistos);
    if (filtroEnMemoria_)
        recoger(seleccion_, *this, campos_, vistos);
}

void ReportePreparado::armarSentencia() {
    const OrigenDatos& o = plantilla_.origen;
    if (o.tipo == OrigenDatos::Procedimiento) {
        filtroEnMemoria_ = seleccion_ != nullptr;
        ordenEnMemoria_ = !ordenPaginas_.isEmpty();
        recogerCampos();
        QList<ParametroProcedimiento> dados = solicitud_.parametrosLeidos();
        for (const ParametroProcedimiento& p : dados) {
            if (!o.parametros.contains(p.nombre, Qt::CaseInsensitive))
                throw ErrorMotor(QStringLiteral("parámetro desconocido: %1").arg(p.nombre));
        }
        QStringList partes;
        for (const QString& nombre : o.parametros) {
            const ParametroProcedimiento* valor = nullptr;
            for (const ParametroProcedimiento& p : dados) {
                if (p.nombre.compare(nombre, Qt::CaseInsensitive) == 0)
                    valor = &p;
            }
            if (!valor)
                throw ErrorMotor(QStringLiteral("falta el parámetro %1").arg(nombre));
            partes << nombre + QLatin1Char('=') + EmisorSql::literalTexto(valor->valor);
        }
        sentencia_ = QStringLiteral("EXEC ") + o.procedimiento;
        if (!partes.isEmpty())
            sentencia_ += QLatin1Char(' ') + partes.join(QStringLiteral(", "));
        sentenciaPaginas_ = sentencia_;
        return;
    }

    const EmisorSql emisor([this](const NodoCampo& c) { return columnaSql(c); },
                           [this](const QString& n) { return formula(n); });
    QString condicion;
    if (seleccion_) {
        try {
            condicion = emisor.emitir(seleccion_);
        } catch (const ErrorNoTraducible&) {
            filtroEnMemoria_ = true;
        }
    }
    recogerCampos();
    QStringList columnas;
    for (qsizetype i = 0; i < campos_.size(); ++i)
        columnas << columnaSql(campos_.at(i)) + QStringLiteral(" AS c") + QString::number(i);
    if (columnas.isEmpty())
        columnas << QStringLiteral("1 AS c0");
    QString desde = o.consulta;
    desde.replace(QLatin1Char('\n'), QLatin1Char(' '));
    desdeSql_ = QStringLiteral(" FROM ") + desde;
    QString fija = o.condicion;
    fija.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!fija.isEmpty() && !condicion.isEmpty())
        condicion_ =
            QLatin1Char('(') + fija + QStringLiteral(") AND (") + condicion + QLatin1Char(')');
    else
        condicion_ = fija + condicion;
    columnasSql_ = QStringLiteral("SELECT ") + columnas.join(QStringLiteral(", "));
    sentencia_ = columnasSql_ + desdeSql_;
    if (!condicion_.isEmpty())
        sentencia_ += QStringLiteral(" WHERE ") + condicion_;
    const auto ordenarPor = [this](const QList<CampoOrden>& campos) {
        QStringList orden;
        for (const CampoOrden& c : campos) {
            orden << columnaSql(std::get<NodoCampo>(c.campo->contenido)) +
                         (c.descendente ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
        }
        return orden.isEmpty() ? QString()
                               : QStringLiteral(" ORDER BY ") + orden.join(QStringLiteral(", "));
    };
    ordenPaginasSql_ = ordenarPor(ordenPaginas_);
    sentenciaPaginas_ = sentencia_ + ordenPaginasSql_;
    sentencia_ += ordenarPor(orden_);
}

QString ReportePreparado::sentenciaClaves() const {
    if (esProcedimiento() || filtroEnMemoria_ || ordenEnMemoria_ || ordenPaginas_.isEmpty())
        return QString();
    const auto* campo = std::get_if<NodoCampo>(&ordenPaginas_.first().campo->contenido);
    if (!campo)
        return QString();
    QString r =
        QStringLiteral("SELECT ") + columnaSql(*campo) + QStringLiteral(" AS c0") + desdeSql_;
    if (!condicion_.isEmpty())
        r += QStringLiteral(" WHERE ") + condicion_;
    return r + ordenPaginasSql_;
}

QString ReportePreparado::sentenciaPaginasDesde(const QVariant& clave, bool conNulos) const {
    if (sentenciaClaves().isEmpty())
        return QString();
    const CampoOrden& primero = ordenPaginas_.first();
    const QString columna = columnaSql(std::get<NodoCampo>(primero.campo->contenido));
    const auto donde = [this](const QString& limite) {
        return columnasSql_ + desdeSql_ +
               (condicion_.isEmpty()
                    ? QStringLiteral(" WHERE ") + limite
                    : QStringLiteral(" WHERE (") + condicion_ + QStringLiteral(") AND ") + limite) +
               ordenPaginasSql_;
    };
    // Rows without a key come all first (the statement from its start) or
    // all last (those rows alone).
    if (ValoresFormula::esNulo(clave))
        return conNulos ? donde(columna + QStringLiteral(" IS NULL")) : sentenciaPaginas_;
    QString literal;
    switch (clave.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        literal = EmisorSql::literalTexto(clave.toString());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        literal = EmisorSql::literalNumero(clave.toDouble());
        break;
    default:
        return QString();
    }
    QString limite =
        columna + (primero.descendente ? QStringLiteral(" <= ") : QStringLiteral(" >= ")) + literal;
    if (conNulos)
        limite = QLatin1Char('(') + limite + QStringLiteral(" OR ") + columna +
                 QStringLiteral(" IS NULL)");
    return donde(limite);
}

std::unique_ptr<LectorFilas> ReportePreparado::abrir(const FuenteDatos& fuente,
                                                     bool paginas) const {
    const QString& sentencia = paginas ? sentenciaPaginas_ : sentencia_;
    std::unique_ptr<rp::db::Cursor> cursor =
        esProcedimiento() ? fuente.ejecutarProcedimiento(sentencia) : fuente.consultar(sentencia);
    return std::make_unique<LectorFilas>(*this, std::move(cursor), paginas);
}

QList<int> ReportePreparado::columnasPagina() const {
    QList<int> r;
    for (int i : visibles_) {
        if (plantilla_.columnas.at(i).enPagina)
            r << i;
    }
    return r;
}

} // namespace rp::motor
