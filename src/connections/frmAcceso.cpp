#include "connections/frmAcceso.h"

#include "connections/ArchivoBases.h"
#include "db/AccesoPrompt.h"
#include "startup/AvisoError.h"
#include "suite/Aplicacion.h"
#include "suite/Utilidades.h"

namespace rp::connections {

using rp::suite::Utilidades;

const QString frmAcceso::kServidorSqlite = QStringLiteral("sqlite");

namespace {
const QString kPuertoInicial = QStringLiteral("1433");
}

QStringList frmAcceso::plataformas() {
    return {QStringLiteral("SQL Server"), QStringLiteral("ORACLE"),
            QStringLiteral("SQLite (local)")};
}

QString frmAcceso::nombreCaja(Caja caja) {
    switch (caja) {
    case TxtServidor:
        return QStringLiteral("TxtServidor");
    case TxtDbName:
        return QStringLiteral("TxtDbName");
    case TxtUserId:
        return QStringLiteral("TxtUserId");
    case TxtUserPassword:
        return QStringLiteral("TxtUserPassword");
    case TxtPuerto:
        return QStringLiteral("TxtPuerto");
    }
    return QString();
}

QString frmAcceso::hint(Caja caja) {
    switch (caja) {
    case TxtUserId:
        return QStringLiteral("Ingrese el usuario");
    case TxtDbName:
        return QStringLiteral("ingrese el nombre de la base de datos");
    case TxtServidor:
        return QStringLiteral("ingrese el nombre del servidor e instancia");
    case TxtUserPassword:
    case TxtPuerto:
        break;
    }
    return QString();
}

QString frmAcceso::toolTip(Caja caja) {
    switch (caja) {
    case TxtServidor:
        return QStringLiteral("ingrese el nombre del servidor e instancia");
    case TxtDbName:
        return QStringLiteral("ingrese el nombre de la base de datos");
    case TxtUserId:
        return QStringLiteral("Ingrese el nombre de usuario");
    case TxtUserPassword:
        return QStringLiteral("Ingrese la contraseña");
    case TxtPuerto:
        return QStringLiteral("Ingrese el Puerto ");
    }
    return QString();
}

frmAcceso::frmAcceso() {
    caja(TxtPuerto).texto = kPuertoInicial;
}

void frmAcceso::Form_Load() {
    // The controls are new with every window; the form's values are not.
    for (size_t i = 0; i < cajas_.size(); ++i) {
        cajas_[i] = EstadoCaja{};
        Q_EMIT cajaCambiada(static_cast<Caja>(i));
    }
    caja(TxtPuerto).texto = kPuertoInicial;
    Q_EMIT cajaCambiada(TxtPuerto);
    plataforma_ = SqlServer;
    Q_EMIT plataformaCambiada(plataforma_);
    lista_.clear();
    indice_ = -1;
    Q_EMIT listaCambiada();

    llenarlist();
    MensajeInicial(TxtUserId);
    MensajeInicial(TxtUserPassword);
    MensajeInicial(TxtDbName);
    MensajeInicial(TxtDbName);
    MensajeInicial(TxtServidor);
}

QString frmAcceso::texto(Caja c) const {
    return caja(c).texto;
}
int frmAcceso::colorTexto(Caja c) const {
    return caja(c).color;
}
int frmAcceso::selInicio(Caja c) const {
    return caja(c).selInicio;
}
int frmAcceso::selLargo(Caja c) const {
    return caja(c).selLargo;
}

void frmAcceso::setTexto(Caja c, const QString& texto) {
    escribir(c, texto);
}

void frmAcceso::escribir(Caja c, const QString& texto) {
    EstadoCaja& e = caja(c);
    if (e.texto == texto) {
        return;
    }
    e.texto = texto;
    Q_EMIT cajaCambiada(c);
    // Change events of the boxes.
    if (c == TxtDbName || c == TxtServidor || c == TxtUserPassword) {
        MensajeInicial(c);
    }
}

void frmAcceso::MensajeInicial(Caja c) {
    const QString h = hint(c);
    const QString actual = caja(c).texto;
    if (!actual.trimmed().isEmpty() && actual != h) {
        return;
    }
    escribir(c, h);
    EstadoCaja& e = caja(c);
    e.color = kColorHint;
    e.selInicio = 0;
    e.selLargo = static_cast<int>(e.texto.trimmed().size());
    Q_EMIT cajaCambiada(c);
    Q_EMIT mensajeInicialMostrado(c);
}

void frmAcceso::TxtUserId_GotFocus() {
    MensajeInicial(TxtUserId);
}

void frmAcceso::setCboPlataformaDB(int indice) {
    if (indice < 0 || indice >= plataformas().size()) {
        return;
    }
    plataforma_ = indice;
    Q_EMIT plataformaCambiada(indice);
    if (indice == Sqlite) {
        escribir(TxtServidor, kServidorSqlite);
    }
}

void frmAcceso::seleccionar(int indice) {
    indice_ = indice;
    Q_EMIT seleccionListaCambiada(indice);
}

void frmAcceso::lstBases_Click(int indice) {
    if (indice < 0 || indice >= lista_.size()) {
        return;
    }
    seleccionar(indice);
    AsignarDatosBase();
}

void frmAcceso::lstBases_KeyDown() {
    AsignarDatosBase();
}

void frmAcceso::lstBases_DblClick(int indice) {
    if (indice < 0 || indice >= lista_.size()) {
        return;
    }
    lstBases_Click(indice);
    bcAceptar_Click();
}

void frmAcceso::bcAceptar_Click() {
    aceptar_ = true;
    Q_EMIT ocultar();
}

void frmAcceso::bcCancelar_Click() {
    aceptar_ = false;
    Q_EMIT ocultar();
}

void frmAcceso::llenarlist() {
    for (;;) {
        rutaLista_ = ArchivoBases::ruta(rp::suite::Aplicacion::carpetaPrograma());
        const ArchivoBases::Lectura lectura = ArchivoBases::leer(rutaLista_);
        lista_.clear();
        indice_ = -1;
        if (!lectura.existe) {
            Q_EMIT listaCambiada();
            return;
        }
        for (const EntradaBase& e : lectura.entradas) {
            ultimaEntrada_ = e;
            if (!e.clave.trimmed().isEmpty()) {
                lista_.append(e.clave);
            }
        }
        Q_EMIT listaCambiada();
        if (!lectura.error) {
            break;
        }
        const int respuesta =
            rp::startup::AvisoError(*lectura.error, std::nullopt, QStringLiteral("FormLoad"));
        if (respuesta == 4) {
            continue; // read the file again
        }
        if (respuesta == 5) {
            break; // go on with what was read
        }
        return;
    }
    if (!lista_.isEmpty()) {
        // Selecting the first entry counts as a click on the list.
        lstBases_Click(0);
    }
}

void frmAcceso::DatosBase(const QString& Nombre) {
    rutaLista_ = ArchivoBases::ruta(rp::suite::Aplicacion::carpetaPrograma());
    const ArchivoBases::Lectura lectura = ArchivoBases::leer(rutaLista_);
    if (!lectura.existe) {
        return;
    }
    const QString buscado = Nombre.trimmed();
    for (const EntradaBase& e : lectura.entradas) {
        ultimaEntrada_ = e;
        if (e.clave.trimmed() == buscado) {
            servidorEncontrado_ = e.servidor;
            baseEncontrada_ = e.baseDatos;
            usuarioEncontrado_ = e.usuario;
            passwordEncontrado_ = Utilidades::DecodificarClave(e.password);
            return;
        }
    }
    if (lectura.error) {
        // Whatever the answer, the look-up ends with the found values unchanged.
        Utilidades::MensajeError(*lectura.error);
    }
}

void frmAcceso::AsignarDatosBase() {
    const QString seleccionado =
        (indice_ >= 0 && indice_ < lista_.size()) ? lista_.at(indice_) : QString();
    DatosBase(seleccionado.trimmed());

    const qsizetype dosPuntos = servidorEncontrado_.indexOf(QLatin1Char(':'));
    if (dosPuntos >= 0) {
        puerto_ = servidorEncontrado_.mid(dosPuntos + 1);
        const QString limpio = servidorEncontrado_.trimmed().toUpper();
        servidorEncontrado_ = limpio.left(limpio.indexOf(QLatin1Char(':')));
    }
    escribir(TxtServidor, servidorEncontrado_);
    escribir(TxtUserId, QString());
    escribir(TxtUserPassword, QString());
    escribir(TxtDbName, baseEncontrada_);
    escribir(TxtPuerto, puerto_.isNull() ? QString() : puerto_.toString());
}

void frmAcceso::recibirPrompt(const rp::db::AccesoPrompt& prompt) {
    escribir(TxtDbName, prompt.TxtDbName);
    escribir(TxtServidor, prompt.TxtServidor);
    escribir(TxtUserId, prompt.TxtUserId);
    escribir(TxtUserPassword, prompt.TxtUserPassword);
    setCboPlataformaDB(prompt.CboPlataformaDB);
}

void frmAcceso::entregarPrompt(rp::db::AccesoPrompt& prompt) const {
    prompt.Aceptar = aceptar_;
    prompt.TxtDbName = texto(TxtDbName);
    prompt.TxtServidor = texto(TxtServidor);
    prompt.TxtUserId = texto(TxtUserId);
    prompt.TxtUserPassword = texto(TxtUserPassword);
    prompt.CboPlataformaDB =
        plataforma_ == Sqlite ? static_cast<int>(frmAcceso::SqlServer) : plataforma_;
}

} // namespace rp::connections
