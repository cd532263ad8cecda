#include "report/engine/LectorPlantilla.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/ParserFormula.h"
#include "suite/ArchivoRegular.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace rp::motor {

namespace {

// One "clave = valor" of the file, its value joined with its continuation lines.
struct Entrada {
    QString seccion;
    int indiceSeccion = 0; // which [columna] (from 0)
    QString clave;
    QString valor;
    int linea = 0;   // line of the key
    int columna = 0; // column of the first character of the value
    int columnaClave = 1;
};

const QStringList secciones = {QStringLiteral("informe"),  QStringLiteral("origen"),
                               QStringLiteral("formulas"), QStringLiteral("encabezado"),
                               QStringLiteral("pie"),      QStringLiteral("columna"),
                               QStringLiteral("grupo")};

class Lector {
public:
    Lector(const QString& texto, const QString& origen) : texto_(texto), origen_(origen) {}

    Plantilla leer() {
        p_.ruta = origen_;
        dividir();
        for (const Entrada& e : entradas_)
            aplicar(e);
        validar();
        return p_;
    }

private:
    [[noreturn]] void fallar(const QString& mensaje, int linea, int columna) const {
        throw ErrorMotor(mensaje, linea, columna, origen_);
    }

    // Splits the file into sections and entries.
    void dividir() {
        QString t = texto_;
        if (t.startsWith(QChar(0xFEFF)))
            t.remove(0, 1);
        const QStringList lineas = t.split(QLatin1Char('\n'));
        QString seccion;
        int columnas = -1;
        Entrada* abierta = nullptr;
        for (qsizetype n = 0; n < lineas.size(); ++n) {
            QString l = lineas.at(n);
            if (l.endsWith(QLatin1Char('\r')))
                l.chop(1);
            const int numero = static_cast<int>(n) + 1;
            const QString recortada = l.trimmed();
            if (recortada.isEmpty()) {
                abierta = nullptr;
                continue;
            }
            if (recortada.startsWith(QLatin1Char('#')) || recortada.startsWith(QLatin1Char(';')))
                continue;
            const bool sangrada = l.at(0) == QLatin1Char(' ') || l.at(0) == QLatin1Char('\t');
            if (sangrada && abierta) {
                abierta->valor += QLatin1Char('\n') + rtrim(l);
                continue;
            }
            abierta = nullptr;
            const int col = static_cast<int>(l.indexOf(recortada.at(0))) + 1;
            if (recortada.startsWith(QLatin1Char('['))) {
                if (!recortada.endsWith(QLatin1Char(']')))
                    fallar(QStringLiteral("falta ']'"), numero, col);
                seccion = recortada.mid(1, recortada.size() - 2).trimmed().toLower();
                if (!secciones.contains(seccion))
                    fallar(QStringLiteral("sección desconocida: [%1]").arg(seccion), numero, col);
                if (seccion == QLatin1String("columna")) {
                    ++columnas;
                    ColumnaPlantilla c;
                    c.linea = numero;
                    p_.columnas << c;
                } else if (vistas_.contains(seccion)) {
                    fallar(QStringLiteral("sección repetida: [%1]").arg(seccion), numero, col);
                }
                vistas_ << seccion;
                continue;
            }
            const qsizetype igual = l.indexOf(QLatin1Char('='));
            if (igual < 0)
                fallar(QStringLiteral("se esperaba 'clave = valor'"), numero, col);
            if (seccion.isEmpty())
                fallar(QStringLiteral("clave fuera de sección"), numero, col);
            Entrada e;
            e.seccion = seccion;
            e.indiceSeccion = columnas;
            e.clave = l.left(igual).trimmed();
            e.linea = numero;
            e.columnaClave = col;
            qsizetype inicio = igual + 1;
            while (inicio < l.size() &&
                   (l.at(inicio) == QLatin1Char(' ') || l.at(inicio) == QLatin1Char('\t')))
                ++inicio;
            e.columna = static_cast<int>(inicio) + 1;
            e.valor = rtrim(l.mid(inicio));
            if (e.clave.isEmpty())
                fallar(QStringLiteral("falta la clave antes de '='"), numero, col);
            entradas_ << e;
            abierta = &entradas_.last();
        }
    }

    static QString rtrim(const QString& s) {
        qsizetype n = s.size();
        while (n > 0 && s.at(n - 1).isSpace())
            --n;
        return s.left(n);
    }

    // Re-throws a formula error at its place in the file.
    [[noreturn]] void reubicar(const ErrorMotor& e, const Entrada& en) const {
        const int linea = e.linea() > 0 ? en.linea + e.linea() - 1 : en.linea;
        const int columna =
            e.linea() <= 1 ? en.columna + std::max(e.columna(), 1) - 1 : e.columna();
        fallar(e.mensaje(), linea, columna);
    }

    Formula formula(const Entrada& e) const {
        try {
            Formula f = ParserFormula::analizar(e.valor);
            if (!f)
                fallar(QStringLiteral("falta la fórmula de %1").arg(e.clave), e.linea, e.columna);
            return f;
        } catch (const ErrorMotor& err) {
            if (!err.origen().isEmpty())
                throw;
            reubicar(err, e);
        }
    }

    TextoPlantilla texto(const Entrada& e, const QString& valor, int desplazamiento = 0) const {
        try {
            return TextoPlantilla::analizar(valor);
        } catch (const ErrorMotor& err) {
            Entrada copia = e;
            copia.columna += desplazamiento;
            reubicar(err, copia);
        }
    }

    double numero(const Entrada& e, const QString& valor, double minimo, double maximo) const {
        bool ok = false;
        const double v = valor.trimmed().toDouble(&ok);
        // "nan" and "inf" read as numbers; neither is a size.
        if (!ok || !std::isfinite(v) || v < minimo || v > maximo)
            fallar(QStringLiteral("valor no válido para %1: %2").arg(e.clave, valor.trimmed()),
                   e.linea, e.columna);
        return v;
    }

    [[noreturn]] void claveDesconocida(const Entrada& e) const {
        fallar(QStringLiteral("clave desconocida en [%1]: %2").arg(e.seccion, e.clave), e.linea,
               e.columnaClave);
    }

    [[noreturn]] void valorNoValido(const Entrada& e) const {
        fallar(QStringLiteral("valor no válido para %1: %2").arg(e.clave, e.valor.trimmed()),
               e.linea, e.columna);
    }

    LineaBorde lineaBorde(const Entrada& e) {
        LineaBorde l;
        if (e.clave.compare(QLatin1String("titulo"), Qt::CaseInsensitive) == 0) {
            l.titulo = true;
            l.centro = texto(e, e.valor);
            return l;
        }
        if (e.clave.compare(QLatin1String("linea"), Qt::CaseInsensitive) != 0)
            claveDesconocida(e);
        const QStringList partes = e.valor.split(QLatin1Char('|'));
        if (partes.size() > 3)
            fallar(QStringLiteral("una línea lleva a lo sumo tres partes"), e.linea, e.columna);
        int desplazamiento = 0;
        TextoPlantilla* destino[3] = {&l.izquierda, &l.centro, &l.derecha};
        for (qsizetype i = 0; i < partes.size(); ++i) {
            const QString& parte = partes.at(i);
            qsizetype blancos = 0;
            while (blancos < parte.size() && parte.at(blancos).isSpace())
                ++blancos;
            *destino[i] = texto(e, parte.trimmed(), desplazamiento + static_cast<int>(blancos));
            desplazamiento += static_cast<int>(parte.size()) + 1;
        }
        return l;
    }

    void aplicar(const Entrada& e) {
        const QString clave = e.clave.toLower();
        const QString v = e.valor.trimmed();
        if (e.seccion == QLatin1String("informe")) {
            if (clave == QLatin1String("titulo")) {
                p_.titulo = texto(e, e.valor);
            } else if (clave == QLatin1String("papel")) {
                static const QStringList papeles = {QStringLiteral("A4"), QStringLiteral("Carta"),
                                                    QStringLiteral("Oficio")};
                bool ok = false;
                for (const QString& papel : papeles) {
                    if (papel.compare(v, Qt::CaseInsensitive) == 0) {
                        p_.papel = papel;
                        ok = true;
                    }
                }
                if (!ok)
                    valorNoValido(e);
            } else if (clave == QLatin1String("orientacion")) {
                if (v.compare(QLatin1String("horizontal"), Qt::CaseInsensitive) == 0)
                    p_.horizontal = true;
                else if (v.compare(QLatin1String("vertical"), Qt::CaseInsensitive) == 0)
                    p_.horizontal = false;
                else
                    valorNoValido(e);
            } else if (clave == QLatin1String("margenes")) {
                const QStringList m = v.split(QLatin1Char(','));
                if (m.size() != 4)
                    valorNoValido(e);
                p_.margenSuperior = numero(e, m.at(0), 0, 100);
                p_.margenDerecho = numero(e, m.at(1), 0, 100);
                p_.margenInferior = numero(e, m.at(2), 0, 100);
                p_.margenIzquierdo = numero(e, m.at(3), 0, 100);
            } else if (clave == QLatin1String("letra")) {
                const qsizetype coma = v.lastIndexOf(QLatin1Char(','));
                if (coma <= 0)
                    valorNoValido(e);
                p_.letra = v.left(coma).trimmed();
                p_.tamanoLetra = numero(e, v.mid(coma + 1), 4, 72);
            } else if (clave == QLatin1String("detalle")) {
                p_.detalle = formula(e);
            } else if (clave == QLatin1String("columnas-ocultas")) {
                p_.slotColumnasOcultas = v;
            } else if (clave == QLatin1String("subinformes")) {
                for (const QString& s : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
                    p_.subinformes << s.trimmed();
            } else {
                claveDesconocida(e);
            }
        } else if (e.seccion == QLatin1String("origen")) {
            if (clave == QLatin1String("consulta")) {
                p_.origen.tipo = OrigenDatos::Consulta;
                p_.origen.consulta = v;
            } else if (clave == QLatin1String("condicion")) {
                p_.origen.condicion = v;
            } else if (clave == QLatin1String("procedimiento")) {
                static const QRegularExpression nombre(QStringLiteral("^[A-Za-z_][A-Za-z0-9_.]*$"));
                if (!nombre.match(v).hasMatch())
                    valorNoValido(e);
                p_.origen.tipo = OrigenDatos::Procedimiento;
                p_.origen.procedimiento = v;
            } else if (clave == QLatin1String("parametros")) {
                static const QRegularExpression nombre(QStringLiteral("^@[A-Za-z_][A-Za-z0-9_]*$"));
                for (const QString& s : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    if (!nombre.match(s.trimmed()).hasMatch())
                        valorNoValido(e);
                    p_.origen.parametros << s.trimmed();
                }
            } else if (clave == QLatin1String("orden")) {
                for (const QString& s : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
                    p_.origen.ordenPorDefecto << s.trimmed();
            } else {
                claveDesconocida(e);
            }
        } else if (e.seccion == QLatin1String("formulas")) {
            static const QRegularExpression nombre(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
            if (!nombre.match(e.clave).hasMatch())
                fallar(QStringLiteral("nombre de fórmula no válido: %1").arg(e.clave), e.linea, 1);
            if (p_.formula(e.clave))
                fallar(QStringLiteral("fórmula repetida: %1").arg(e.clave), e.linea, 1);
            FormulaPlantilla f;
            f.nombre = e.clave;
            f.texto = v;
            if (v.isEmpty())
                f.formula = ParserFormula::analizar(QStringLiteral("''"));
            else
                f.formula = formula(e);
            p_.formulas << f;
        } else if (e.seccion == QLatin1String("encabezado")) {
            p_.encabezado << lineaBorde(e);
        } else if (e.seccion == QLatin1String("pie")) {
            p_.pie << lineaBorde(e);
        } else if (e.seccion == QLatin1String("grupo")) {
            if (clave == QLatin1String("campo"))
                p_.grupo = formula(e);
            else if (clave == QLatin1String("titulo"))
                p_.tituloGrupo = texto(e, e.valor);
            else if (clave == QLatin1String("pie"))
                p_.pieGrupo = texto(e, e.valor);
            else
                claveDesconocida(e);
        } else {
            aplicarColumna(e, clave, v);
        }
    }

    void aplicarColumna(const Entrada& e, const QString& clave, const QString& v) {
        ColumnaPlantilla& c = p_.columnas[e.indiceSeccion];
        if (clave == QLatin1String("id")) {
            c.id = v;
        } else if (clave == QLatin1String("valor")) {
            c.valor = v;
            c.formula = formula(e);
        } else if (clave == QLatin1String("titulo")) {
            c.titulo = texto(e, e.valor);
        } else if (clave == QLatin1String("ancho")) {
            c.ancho = numero(e, v, 1, 1000);
        } else if (clave == QLatin1String("pagina")) {
            if (v.compare(QLatin1String("si"), Qt::CaseInsensitive) == 0 ||
                v.compare(QStringLiteral("sí"), Qt::CaseInsensitive) == 0)
                c.enPagina = true;
            else if (v.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
                c.enPagina = false;
            else
                valorNoValido(e);
        } else if (clave == QLatin1String("alineacion")) {
            if (v.compare(QLatin1String("izquierda"), Qt::CaseInsensitive) == 0)
                c.alineacion = Alineacion::Izquierda;
            else if (v.compare(QLatin1String("centro"), Qt::CaseInsensitive) == 0)
                c.alineacion = Alineacion::Centro;
            else if (v.compare(QLatin1String("derecha"), Qt::CaseInsensitive) == 0)
                c.alineacion = Alineacion::Derecha;
            else
                valorNoValido(e);
        } else if (clave == QLatin1String("formato")) {
            const QString f = v.toLower();
            if (f == QLatin1String("texto")) {
                c.formato.tipo = FormatoColumna::Texto;
            } else if (f == QLatin1String("entero")) {
                c.formato.tipo = FormatoColumna::Entero;
            } else if (f == QLatin1String("fecha")) {
                c.formato.tipo = FormatoColumna::Fecha;
            } else if (f == QLatin1String("fechahora")) {
                c.formato.tipo = FormatoColumna::FechaHora;
            } else if (f == QLatin1String("numero") || f.startsWith(QLatin1String("numero:"))) {
                c.formato.tipo = FormatoColumna::Numero;
                if (f.size() > 6)
                    c.formato.decimales = static_cast<int>(numero(e, f.mid(7), 0, 10));
            } else if (f == QLatin1String("cambio") || f.startsWith(QLatin1String("cambio:"))) {
                c.formato.tipo = FormatoColumna::Cambio;
                if (f.size() > 6)
                    c.formato.decimales = static_cast<int>(numero(e, f.mid(7), 0, 10));
            } else {
                valorNoValido(e);
            }
        } else {
            claveDesconocida(e);
        }
    }

    void validar() {
        const int ultima = static_cast<int>(texto_.count(QLatin1Char('\n'))) + 1;
        if (!vistas_.contains(QLatin1String("origen")))
            fallar(QStringLiteral("falta la sección [origen]"), ultima, 1);
        const OrigenDatos& o = p_.origen;
        if (o.consulta.isEmpty() == o.procedimiento.isEmpty())
            fallar(QStringLiteral("[origen] lleva 'consulta' o 'procedimiento' (uno solo)"), ultima,
                   1);
        if (p_.columnas.isEmpty())
            fallar(QStringLiteral("la plantilla no tiene columnas"), ultima, 1);
        for (const ColumnaPlantilla& c : p_.columnas) {
            if (!c.formula)
                fallar(QStringLiteral("la columna no tiene 'valor'"), c.linea, 1);
        }
    }

    const QString& texto_;
    QString origen_;
    Plantilla p_;
    QList<Entrada> entradas_;
    QStringList vistas_;
};

} // namespace

Plantilla LectorPlantilla::leerArchivo(const QString& ruta) {
    suite::FalloArchivo fallo;
    const std::optional<QByteArray> datos =
        suite::leerArchivoRegular(ruta, 4 * 1024 * 1024, &fallo);
    if (fallo == suite::FalloArchivo::DemasiadoGrande)
        throw ErrorMotor(QStringLiteral("plantilla demasiado grande: %1").arg(ruta));
    if (!datos)
        throw ErrorMotor(QStringLiteral("no se puede abrir la plantilla: %1").arg(ruta));
    return leerTexto(QString::fromUtf8(*datos), ruta);
}

Plantilla LectorPlantilla::leerTexto(const QString& texto, const QString& origen) {
    return Lector(texto, origen).leer();
}

} // namespace rp::motor
