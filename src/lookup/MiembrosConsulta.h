#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace rp::lookup {

// The public members that the lookup request sets on both lookup dialogs
// (list and family tree) before showing them, and the results it reads back.
struct MiembrosConsulta {
    QString SQL;
    QString CampoDevuelto;
    std::optional<QStringList> CmpsDevueltos;
    bool CheckBoxes = false;
    QString gConnString;
    QString ValorDevuelto;
    QStringList Valores;
};

} // namespace rp::lookup
