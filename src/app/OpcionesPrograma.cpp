#include "app/OpcionesPrograma.h"

namespace rp::app {

namespace {

std::optional<int> leerEntero(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

} // namespace

std::optional<OpcionesPrograma> OpcionesPrograma::leer(const QStringList& args, QString& error) {
    OpcionesPrograma o;
    qsizetype i = 0;
    auto valor = [&](const QString& name, QString inlineValue,
                     bool hasInline) -> std::optional<QString> {
        if (hasInline)
            return inlineValue;
        if (i + 1 >= args.size()) {
            error = QStringLiteral("la opción --%1 necesita un valor").arg(name);
            return std::nullopt;
        }
        return args.at(++i);
    };
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--")) {
            ++i;
            break;
        }
        if (!a.startsWith(QLatin1String("--")))
            break;
        QString name = a.mid(2);
        QString inlineValue;
        const qsizetype eq = name.indexOf(QLatin1Char('='));
        const bool hasInline = eq >= 0;
        if (hasInline) {
            inlineValue = name.mid(eq + 1);
            name = name.left(eq);
        }
        auto flag = [&](bool& target) {
            if (hasInline) {
                error = QStringLiteral("la opción --%1 no lleva valor").arg(name);
                return false;
            }
            target = true;
            return true;
        };
        auto entero = [&](std::optional<int>& target) {
            const auto v = valor(name, inlineValue, hasInline);
            if (!v)
                return false;
            target = leerEntero(*v);
            if (!target) {
                error = QStringLiteral("la opción --%1 espera un número: %2").arg(name, *v);
                return false;
            }
            return true;
        };
        bool ok = true;
        if (name == QLatin1String("program-folder")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.carpetaPrograma = *v;
        } else if (name == QLatin1String("demo")) {
            ok = flag(o.demo);
        } else if (name == QLatin1String("batch")) {
            ok = flag(o.lote);
        } else if (name == QLatin1String("changes")) {
            ok = flag(o.variacion);
        } else if (name == QLatin1String("help")) {
            ok = flag(o.ayuda);
        } else if (name == QLatin1String("version")) {
            ok = flag(o.version);
        } else if (name == QLatin1String("trace-sql")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.trazaSql = *v;
        } else if (name == QLatin1String("query")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.consulta = *v;
        } else if (name == QLatin1String("lookup")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.consultaCampo = *v;
        } else if (name == QLatin1String("lookup-search")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.textoConsulta = *v;
        } else if (name == QLatin1String("export")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.exportar = *v;
        } else if (name == QLatin1String("preset")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.filtro = *v;
        } else if (name == QLatin1String("save-preset")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok)
                o.guardarFiltro = *v;
        } else if (name == QLatin1String("tab")) {
            ok = entero(o.pestana);
        } else if (name == QLatin1String("price")) {
            ok = entero(o.precio);
        } else if (name == QLatin1String("order")) {
            ok = entero(o.orden);
        } else if (name == QLatin1String("field")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok) {
                const qsizetype p = v->indexOf(QLatin1Char('='));
                if (p <= 0) {
                    error = QStringLiteral("--field espera CLAVE=VALOR: %1").arg(*v);
                    ok = false;
                } else {
                    o.campos.append({v->left(p).trimmed(), v->mid(p + 1)});
                }
            }
        } else if (name == QLatin1String("columns")) {
            const auto v = valor(name, inlineValue, hasInline);
            ok = v.has_value();
            if (ok) {
                QList<int> list;
                for (const QString& part : v->split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                    const auto n = leerEntero(part);
                    if (!n) {
                        error = QStringLiteral("--columns espera índices separados por comas: %1")
                                    .arg(*v);
                        ok = false;
                        break;
                    }
                    list.append(*n);
                }
                if (ok)
                    o.columnas = list;
            }
        } else {
            error = QStringLiteral("opción desconocida: --%1").arg(name);
            ok = false;
        }
        if (!ok)
            return std::nullopt;
    }
    o.parametros = args.mid(i).join(QLatin1Char(' '));
    if (!o.exportar.isEmpty() && o.consulta) {
        error = QStringLiteral("--query y --export no se pueden usar juntas");
        return std::nullopt;
    }
    if (o.textoConsulta && !o.consultaCampo) {
        error = QStringLiteral("--lookup-search necesita --lookup");
        return std::nullopt;
    }
    if (o.consultaCampo && (o.consulta || !o.exportar.isEmpty())) {
        error = QStringLiteral("--lookup no se puede usar junto con --query ni --export");
        return std::nullopt;
    }
    if (o.guardarFiltro && (o.consulta || o.consultaCampo || !o.exportar.isEmpty())) {
        error = QStringLiteral("--save-preset guarda el filtro sin ejecutar nada: no se usa junto "
                               "con --export, --query ni --lookup");
        return std::nullopt;
    }
    if (o.filtro && o.exportar.isEmpty()) {
        error = QStringLiteral("--preset se usa con --export");
        return std::nullopt;
    }
    if (!o.exportar.isEmpty() && o.exportar != QLatin1String("-")) {
        const QString lower = o.exportar.toLower();
        if (!lower.endsWith(QLatin1String(".pdf")) && !lower.endsWith(QLatin1String(".csv")) &&
            !lower.endsWith(QLatin1String(".xlsx"))) {
            error =
                QStringLiteral("--export admite archivos .pdf, .csv o .xlsx: %1").arg(o.exportar);
            return std::nullopt;
        }
    }
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
