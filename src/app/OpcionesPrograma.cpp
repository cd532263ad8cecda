#include "app/OpcionesPrograma.h"

#include <QCommandLineParser>
#include <utility>

namespace rp::app {

namespace {

std::optional<int> leerEntero(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// Options that take a value; the others are switches.
const QStringList kConValor = {QStringLiteral("program-folder"),
                               QStringLiteral("trace-sql"),
                               QStringLiteral("query"),
                               QStringLiteral("lookup"),
                               QStringLiteral("lookup-search"),
                               QStringLiteral("export"),
                               QStringLiteral("tab"),
                               QStringLiteral("price"),
                               QStringLiteral("order"),
                               QStringLiteral("field"),
                               QStringLiteral("columns"),
                               QStringLiteral("preset"),
                               QStringLiteral("save-preset")};
const QStringList kInterruptores = {QStringLiteral("demo"), QStringLiteral("batch"),
                                    QStringLiteral("changes"), QStringLiteral("help"),
                                    QStringLiteral("version")};

// Step 1: where the options end. Options come first ("--name value" or
// "--name=value"); the first argument that does not start with "--", or a
// bare "--", starts the launch parameter string. A switch given a value or
// an option missing its value is refused here, with the program's own words.
bool separarOpciones(const QStringList& args, QStringList& opciones, QStringList& resto,
                     QString& error) {
    qsizetype i = 0;
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--")) {
            resto = args.mid(i + 1);
            return true;
        }
        if (!a.startsWith(QLatin1String("--")))
            break;
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        const QString nombre = a.mid(2, eq < 0 ? -1 : eq - 2);
        opciones << a;
        if (kInterruptores.contains(nombre) && eq >= 0) {
            error = QStringLiteral("la opción --%1 no lleva valor").arg(nombre);
            return false;
        }
        if (kConValor.contains(nombre) && eq < 0) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("la opción --%1 necesita un valor").arg(nombre);
                return false;
            }
            opciones << args.at(++i);
        }
    }
    resto = args.mid(i);
    return true;
}

// Step 2: the options through QCommandLineParser (unknown names refused).
bool analizar(QCommandLineParser& parser, const QStringList& opciones, QString& error) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    for (const QString& n : kConValor)
        parser.addOption(QCommandLineOption(n, QString(), QStringLiteral("valor")));
    for (const QString& n : kInterruptores)
        parser.addOption(QCommandLineOption(n));
    if (parser.parse(QStringList{QStringLiteral("rp_tarifario")} + opciones))
        return true;
    const QStringList desconocidas = parser.unknownOptionNames();
    error = desconocidas.isEmpty()
                ? parser.errorText()
                : QStringLiteral("opción desconocida: --%1").arg(desconocidas.first());
    return false;
}

// Step 3: the values into the options, numbers and lists checked.
bool tomarValores(const QCommandLineParser& p, OpcionesPrograma& o, QString& error) {
    const auto texto = [&p](const char* n) { return p.value(QLatin1String(n)); };
    const auto dado = [&p](const char* n) { return p.isSet(QLatin1String(n)); };
    o.carpetaPrograma = texto("program-folder");
    o.demo = dado("demo");
    o.lote = dado("batch");
    o.variacion = dado("changes");
    o.ayuda = dado("help");
    o.version = dado("version");
    o.trazaSql = texto("trace-sql");
    if (dado("query"))
        o.consulta = texto("query");
    if (dado("lookup"))
        o.consultaCampo = texto("lookup");
    if (dado("lookup-search"))
        o.textoConsulta = texto("lookup-search");
    o.exportar = texto("export");
    if (dado("preset"))
        o.filtro = texto("preset");
    if (dado("save-preset"))
        o.guardarFiltro = texto("save-preset");
    for (const auto& [nombre, destino] :
         {std::pair{"tab", &o.pestana}, std::pair{"price", &o.precio},
          std::pair{"order", &o.orden}}) {
        if (!dado(nombre))
            continue;
        *destino = leerEntero(texto(nombre));
        if (!*destino) {
            error = QStringLiteral("la opción --%1 espera un número: %2")
                        .arg(QLatin1String(nombre), texto(nombre));
            return false;
        }
    }
    for (const QString& v : p.values(QStringLiteral("field"))) {
        const qsizetype igual = v.indexOf(QLatin1Char('='));
        if (igual <= 0) {
            error = QStringLiteral("--field espera CLAVE=VALOR: %1").arg(v);
            return false;
        }
        o.campos.append({v.left(igual).trimmed(), v.mid(igual + 1)});
    }
    if (dado("columns")) {
        const QString v = texto("columns");
        QList<int> lista;
        for (const QString& parte : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const auto n = leerEntero(parte);
            if (!n) {
                error = QStringLiteral("--columns espera índices separados por comas: %1").arg(v);
                return false;
            }
            lista.append(*n);
        }
        o.columnas = lista;
    }
    return true;
}

// Step 4: the options that cannot go together, and the export's file type.
bool verificarCombinaciones(const OpcionesPrograma& o, QString& error) {
    if (!o.exportar.isEmpty() && o.consulta) {
        error = QStringLiteral("--query y --export no se pueden usar juntas");
        return false;
    }
    if (o.textoConsulta && !o.consultaCampo) {
        error = QStringLiteral("--lookup-search necesita --lookup");
        return false;
    }
    if (o.consultaCampo && (o.consulta || !o.exportar.isEmpty())) {
        error = QStringLiteral("--lookup no se puede usar junto con --query ni --export");
        return false;
    }
    if (o.guardarFiltro && (o.consulta || o.consultaCampo || !o.exportar.isEmpty())) {
        error = QStringLiteral("--save-preset guarda el filtro sin ejecutar nada: no se usa junto "
                               "con --export, --query ni --lookup");
        return false;
    }
    if (o.filtro && o.exportar.isEmpty()) {
        error = QStringLiteral("--preset se usa con --export");
        return false;
    }
    if (!o.exportar.isEmpty() && o.exportar != QLatin1String("-")) {
        const QString lower = o.exportar.toLower();
        if (!lower.endsWith(QLatin1String(".pdf")) && !lower.endsWith(QLatin1String(".csv")) &&
            !lower.endsWith(QLatin1String(".xlsx"))) {
            error =
                QStringLiteral("--export admite archivos .pdf, .csv o .xlsx: %1").arg(o.exportar);
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<OpcionesPrograma> OpcionesPrograma::leer(const QStringList& args, QString& error) {
    QStringList opciones;
    QStringList resto;
    if (!separarOpciones(args, opciones, resto, error))
        return std::nullopt;
    QCommandLineParser parser;
    if (!analizar(parser, opciones, error))
        return std::nullopt;
    OpcionesPrograma o;
    if (!tomarValores(parser, o, error))
        return std::nullopt;
    o.parametros = resto.join(QLatin1Char(' '));
    if (!verificarCombinaciones(o, error))
        return std::nullopt;
    return o;
}

QString OpcionesPrograma::textoAyuda() {
    return QStringLiteral(
        "Uso: rp_tarifario [opciones] [cadena de parámetros de la suite]\n"
        "\n"
        "Reporte histórico de cambio de precios.\n"
        "\n"
        "Opciones:\n"
        "  --program-folder DIR  carpeta del programa (plantillas, consultas.kst, BASES.TXT,\n"
        "                        KSERR.LOG); por omisión la carpeta del ejecutable\n"
        "  --demo                usa (y prepara si falta) una carpeta de demostración con\n"
        "                        su base de datos SQLite\n"
        "  --batch               sin ventanas: los mensajes van a stderr y se responde el\n"
        "                        botón por omisión\n"
        "  --trace-sql FILE      registra cada sentencia (escrita y enviada) con su duración\n"
        "  --query SQL           ejecuta una sentencia e imprime las filas en CSV\n"
        "  --lookup TAG          con --batch: imprime en CSV las filas de la consulta del\n"
        "                        campo con esa etiqueta (ej. v_ma_articulos, vt_proveedores)\n"
        "  --lookup-search TEXT  busca TEXT en la primera columna, como F5 en la consulta\n"
        "  --export FILE         genera el reporte de la pestaña en FILE (.pdf, .csv o .xlsx;\n"
        "                        - lo escribe en CSV por la salida estándar)\n"
        "  --tab N               pestaña del reporte (0, 1 o 2)\n"
        "  --field CLAVE=VALOR   completa un campo del formulario por su clave\n"
        "  --columns LISTA       índices de las columnas a mostrar (ej. 0,1,4)\n"
        "  --price N             opción de precio a mostrar\n"
        "  --order N             opción de orden\n"
        "  --changes             marca \"Mostrar variación\" (pestaña 0)\n"
        "  --preset NOMBRE       con --export: aplica el filtro guardado NOMBRE (las\n"
        "                        opciones del formulario dadas además lo completan)\n"
        "  --save-preset NOMBRE  guarda las opciones del formulario dadas como el filtro\n"
        "                        NOMBRE, sin ejecutar nada\n"
        "  --help                muestra esta ayuda\n"
        "  --version             muestra la versión\n"
        "\n"
        "La cadena de parámetros de la suite tiene la forma\n"
        "  @Server=SRV; @DbName=BASE; @Usuario=USR; @Password=CLAVE; @Caja=1;\n");
}

} // namespace rp::app
