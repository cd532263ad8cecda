// Confidential synonyms: for users who are not administrators, statements
// read the filtered "SS_" objects instead of the unfiltered ones.
#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "suite/Aplicacion.h"

namespace rp::db {

namespace {

// The loaded setting SS_CONFIDENCIALIDAD.
bool gSS_CONFIDENCIALIDAD = false;

const QString kMarca = QStringLiteral("@Admin_");

struct Sinonimo {
    const char* objeto;
    const char* sinonimo;
    // Executable names for which the row does not apply.
    const char* excepto1;
    const char* excepto2;
};

const Sinonimo kSinonimos[] = {
    {"MA_CUENTAS", "SS_MA_CUENTAS", nullptr, nullptr},
    {"V_TA_DEPOSITO", "SS_V_TA_DEPOSITO", "V_CONS_FICHA_STOCK", "RP_STOCK"},
    {"MV_ASIENTOS", "SS_MV_ASIENTOS", nullptr, nullptr},
    {"V_TA_FAMILIAS", "SS_V_TA_FAMILIAS", "KSTRANS", "SSL"},
    {"V_TA_CAJAS", "SS_V_TA_CAJAS", nullptr, nullptr},
    {"AC_CUENTASDIARIO", "SS_AC_CUENTASDIARIO", nullptr, nullptr},
    {"AC_CUENTASDIARIO_CCOSTO", "SS_AC_CUENTAS_DIARIO_CCOSTO", nullptr, nullptr},
};

// Delimiter pairs around an object name, pass by pass.
const char* const kDelimitadores[][2] = {
    {" ", " "}, {"(", " "}, {" ", "."}, {"(", "."}, {",", "."},
};

QString quitarMarcas(const QString& sql) {
    return TextoVb::reemplazar(sql, kMarca, QString());
}

bool aplica(const Sinonimo& s, const QString& ejecutable) {
    for (const char* excepto : {s.excepto1, s.excepto2})
        if (excepto && ejecutable.compare(QLatin1String(excepto), Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

} // namespace

void DB_Dll::setConfidencialidad(bool activa) {
    gSS_CONFIDENCIALIDAD = activa;
}

bool DB_Dll::confidencialidad() {
    return gSS_CONFIDENCIALIDAD;
}

QString DB_Dll::SS_TSinonimos(const QString& SQL) const {
    if (gEsAdmin)
        return quitarMarcas(SQL);
    if (TextoVb::contiene(SQL, QStringLiteral("MV_ASIENTOS")) && !gSS_CONFIDENCIALIDAD)
        return quitarMarcas(SQL);

    const QString ejecutable = rp::suite::Aplicacion::nombreEjecutable();
    QString sql = SQL;
    for (const Sinonimo& s : kSinonimos) {
        if (!aplica(s, ejecutable))
            continue;
        const QString objeto = QLatin1String(s.objeto);
        const QString sinonimo = QLatin1String(s.sinonimo);
        for (const auto& d : kDelimitadores) {
            const QString antes = QLatin1String(d[0]);
            const QString despues = QLatin1String(d[1]);
            sql = TextoVb::reemplazar(sql, antes + objeto + despues, antes + sinonimo + despues);
        }
        if (objeto == QLatin1String("MA_CUENTAS")) {
            // A field reference of the report engine: {MA_CUENTAS.campo}.
            sql = TextoVb::reemplazar(sql, QStringLiteral("{MA_CUENTAS."),
                                      QStringLiteral("{SS_MA_CUENTAS."));
            sql = TextoVb::reemplazar(sql, QStringLiteral("@Admin_MA_CUENTAS"),
                                      QStringLiteral("MA_CUENTAS"));
        }
    }
    return quitarMarcas(sql);
}

} // namespace rp::db
