#pragma once

#include <QString>

namespace rp::suite {

// Settings files in the Windows "INI" form ([section], key=value lines,
// Windows-1252 text with CR LF line ends), read with the inih parser.
class ArchivoIni {
public:
    // The value of `clave` in `seccion` of `archivo`, or `porDefecto` when the
    // file, the section or the key is missing. Section and key names match in
    // any letter case; the first matching key wins. Blanks around the value
    // are dropped, and so is one pair of double quotes enclosing it. A file
    // name without a folder is looked up in the program folder.
    static QString LeerIni(const QString& archivo, const QString& seccion, const QString& clave,
                           const QString& porDefecto);
};

} // namespace rp::suite
