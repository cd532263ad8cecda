#pragma once

// Reads an .xlsx file back with an independent reader (python3-openpyxl),
// for the tests of the Excel export: every sheet with its name, frozen cell,
// autofilter range, column widths and cells (type, value, number format).
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <optional>

namespace rp::motor::prueba {

struct LectorXlsx {
    // The system's interpreter, where the Debian package installs openpyxl.
    static QString python() {
        return QFile::exists(QStringLiteral("/usr/bin/python3"))
                   ? QStringLiteral("/usr/bin/python3")
                   : QStringLiteral("python3");
    }

    // True when python3 with openpyxl is at hand.
    static bool disponible() {
        QProcess p;
        p.start(python(), {QStringLiteral("-c"), QStringLiteral("import openpyxl")});
        return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    // [{"nombre", "congelada", "filtro", "anchos": {"A": w}, "filas": [[{"t", "v", "f"}]]}]
    // t: "n" number, "s" text, "d" date, "b" boolean, "f" formula; dates as
    // ISO 8601 texts. nullopt when the file does not read.
    static std::optional<QJsonArray> leer(const QString& ruta) {
        static const char* guion = R"PY(
import json, sys, datetime, openpyxl
libro = openpyxl.load_workbook(sys.argv[1])
hojas = []
for h in libro.worksheets:
    filas = []
    for fila in h.iter_rows():
        celdas = []
        for c in fila:
            v = c.value
            if isinstance(v, (datetime.datetime, datetime.date)):
                v = v.isoformat()
            celdas.append({"t": c.data_type, "v": v, "f": c.number_format})
        filas.append(celdas)
    anchos = {k: d.width for k, d in h.column_dimensions.items() if d.width}
    hojas.append({"nombre": h.title, "congelada": h.freeze_panes,
                  "filtro": h.auto_filter.ref, "anchos": anchos, "filas": filas})
print(json.dumps(hojas))
)PY";
        QProcess p;
        p.start(python(), {QStringLiteral("-c"), QString::fromUtf8(guion), ruta});
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return std::nullopt;
        const QJsonDocument d = QJsonDocument::fromJson(p.readAllStandardOutput());
        if (!d.isArray())
            return std::nullopt;
        return d.array();
    }
};

} // namespace rp::motor::prueba
