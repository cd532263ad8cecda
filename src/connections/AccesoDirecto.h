#pragma once

#include <QString>

namespace rp::connections {

// The desktop shortcut of the program: a freedesktop launcher (Desktop Entry
// file) on the user's desktop that starts the executable with its program
// folder, so the shortcut opens the same connection list and templates as
// the run that created it.
class AccesoDirecto {
public:
    // "Vizuv Adorav.desktop": the shortcut's name with the launcher suffix.
    static QString nombreArchivo();
    // The user's desktop folder (XDG_DESKTOP_DIR of user-dirs.dirs, or
    // ~/Desktop).
    static QString carpetaEscritorio();

    // One argument of an Exec line as the Desktop Entry format reads it:
    // quoted when it holds a reserved character (with \ " ` $ escaped inside
    // the quotes), "%" doubled, then backslashes escaped once more as the
    // format's string values require.
    static QString argumentoExec(const QString& argumento);
    // Text of the launcher for `programa` run with `carpetaPrograma`.
    static QString contenido(const QString& programa, const QString& carpetaPrograma);

    // Writes the launcher into `carpetaEscritorio`, replacing one of the same
    // name (temporary file + rename), executable by its owner as desktops
    // require of launchers. On failure returns false with the reason; a
    // missing desktop folder is a failure (it is not created).
    static bool crear(const QString& carpetaEscritorio, const QString& programa,
                      const QString& carpetaPrograma, QString& ruta, QString& error);
};

} // namespace rp::connections
