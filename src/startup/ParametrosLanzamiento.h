#pragma once

#include <QString>

namespace rp::startup {

// The values of the suite's launch parameter string
// ("@Server=SRV; @DbName=DB; @Usuario=U; @Password=P; @Caja=1;quim@").
struct ParametrosLanzamiento {
    QString parametroAdicional;
    QString menu;
    QString servidor;
    QString baseDatos;
    QString usuario;
    QString password;
    QString usuarioLogeado;
    QString caja;

    // Reads the string the way the suite's programs write it. Keys match in
    // any letter case, at their first occurrence (so "@Usuario" also finds the
    // start of "@UsuarioLogeado"); a value runs to the next ";", loses every
    // "=" and is trimmed. A key with no ";" after it leaves its value empty,
    // except "@ParametroAdicional" (the 19 characters after the key) and the
    // keys "@Caja", "@Menu" and "@UsuarioLogeado", which keep the value they
    // had on entry (`anterior`).
    static ParametrosLanzamiento leer(const QString& texto, const ParametrosLanzamiento& anterior);
};

// Reduces a server text to a host name: the text after the first
// "/", then the text before the first ":" ("tcp/SRV01:1433" -> "SRV01").
QString NormalizarServidor(const QString& servidor);

} // namespace rp::startup
