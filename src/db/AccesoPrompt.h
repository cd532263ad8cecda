#pragma once

#include "ui/Operador.h"

#include <QString>

namespace rp::db {

// What the connection prompt of the database object exchanges with the
// connection dialog "frmAcceso": the four boxes, the chosen platform and
// whether the operator accepted. The dialog itself lives with the windows;
// the database layer only fills and reads this model through the operator.
class AccesoPrompt : public rp::ui::DialogoModal {
public:
    QString dialogName() const override { return QStringLiteral("frmAcceso"); }

    enum Plataforma { SqlServer = 0, Oracle = 1 };

    QString TxtDbName;
    QString TxtServidor;
    QString TxtUserId;
    QString TxtUserPassword;
    // Index of CboPlataformaDB: 0 "SQL Server", 1 "ORACLE".
    int CboPlataformaDB = SqlServer;
    // Set by the dialog's "Aceptar" (true) and "Cancelar" (false). A dialog
    // that returns true from the operator counts as accepted as well.
    bool Aceptar = false;
};

} // namespace rp::db
