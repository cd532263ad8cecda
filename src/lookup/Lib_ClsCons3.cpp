#include "lookup/Lib_ClsCons3.h"

#include "db/DB_Dll.h"
#include "db/TextoVb.h"
#include "db/provider/Recordset.h"
#include "lookup/Lib_FrmCons3.h"
#include "lookup/Lib_FrmCons3Tree.h"
#include "lookup/SentenciaConsulta.h"
#include "suite/Aplicacion.h"
#include "suite/Texto1252.h"
#include "suite/Utilidades.h"

#include <QFileInfo>

namespace rp::lookup {

using rp::db::TextoVb;

namespace {

// Field names of a statement through the shared database object; nullopt
// when it cannot be opened.
std::optional<QStringList> camposDe(const QString& sentencia) {
    rp::db::DB_Dll& base = rp::db::baseCompartida();
    rp::db::Recordset rs;
    QString s = sentencia;
    base.AbrirRecordset(s, rs, nullptr, rp::db::adOpenForwardOnly, rp::db::adLockReadOnly, -1,
                        true);
    if (!rs.isOpen())
        return std::nullopt;
    QStringList nombres;
    for (const rp::db::Field& f : rs.fields())
        nombres << f.name;
    base.CierraRecordset(rs);
    return nombres;
}

} // namespace

Lib_ClsCons3& gConsulta() {
    static Lib_ClsCons3 c;
    return c;
}

void Lib_ClsCons3::configurar() {
    if (configurada_ || !cfg)
        return;
    configurada_ = true;
    MuestraStock = cfg(QStringLiteral("MostrarStockenConsultas"));
    QVariant* niveles[4] = {&StkNivel1, &StkNivel2, &StkNivel3, &StkNivel4};
    for (int i = 0; i < 4; ++i) {
        const QString v = cfg(QStringLiteral("Stk_Nivel") + QString::number(i + 1));
        *niveles[i] = v.isEmpty() ? QVariant(0) : QVariant(v);
    }
    usaConsultaLike_ =
        cfg(QStringLiteral("UsaConsultaLike")).compare(QLatin1String("SI"), Qt::CaseInsensitive) ==
        0;
}

void Lib_ClsCons3::prepararDialogo(Lib_FrmCons3& frm) const {
    frm.cfg = cfg;
    frm.lanzador = lanzador;
    if (!gRutaMascaraConsultas.isEmpty())
        frm.rutaAnchos =
            QFileInfo(gRutaMascaraConsultas).absolutePath() + QStringLiteral("/CONSULTASLEN.KST");
    else
        frm.rutaAnchos =
            rp::suite::Aplicacion::carpetaPrograma() + QStringLiteral("CONSULTASLEN.KST");
}

void Lib_ClsCons3::ConsultaSearch(const QString& sql, bool treeView) {
    std::optional<QStringList> cmps;
    QString clave, campo, where, opcional, defecto;
    ConsultaSearch(sql, cmps, clave, campo, where, opcional, treeView, defecto);
}

void Lib_ClsCons3::ConsultaSearch(const QString& sql, std::optional<QStringList>& cmpsDevueltos,
                                  QString& clave, QString& campoBusqueda, QString& where,
                                  QString& sentenciaOpcional, bool& treeView,
                                  QString& valoresDefault) {
    configurar();
    const int limite =
        SentenciaConsulta::limiteFilas(cfg ? cfg(QStringLiteral("TopConsArt")) : QString());
    const SentenciaConsulta::Resultado r = SentenciaConsulta::armar(
        sql, where, campoBusqueda, sentenciaOpcional,
        gUsarMascarasConsultas ? gRutaMascaraConsultas : QString(), limite, camposDe);
    if (r.debeConfigurar) {
        rp::ui::operador().mensaje(QStringLiteral("Debe configurar la consulta para esta tabla"),
                                   rp::ui::estilo::Information,
                                   QStringLiteral("Aviso al operador"));
        cmpsDevueltos.reset();
        Aceptada = false;
        return;
    }
    ultimaSentencia_ = r.sentencia;
    if (treeView) {
        Lib_FrmCons3Tree arbol;
        arbol.SQL = r.sentencia;
        arbol.CampoDevuelto = CampoDevuelto;
        arbol.CheckBoxes = Checks;
        Valores.clear();
        arbol.Load();
        if (observadorArbol)
            observadorArbol(arbol);
        Aceptada = rp::ui::operador().dialogo(arbol);
        if (!Aceptada)
            arbol.Cancelar();
        ValorDevuelto = arbol.ValorDevuelto;
        Valores = arbol.Valores;
        Checks = false;
    } else {
        Lib_FrmCons3 frm;
        prepararDialogo(frm);
        frm.StkNivel1 = StkNivel1;
        frm.StkNivel2 = StkNivel2;
        frm.StkNivel3 = StkNivel3;
        frm.StkNivel4 = StkNivel4;
        frm.MuestraStock = MuestraStock;
        frm.CfgUsaConsultaLIKE = usaConsultaLike_;
        frm.OrdenarPorLwv = !TextoVb::contiene(r.sentencia, QStringLiteral("ORDER BY"));
        frm.FiltroInicial = clave;
        frm.CampoBusqueda = campoBusqueda;
        if (gConnString.isEmpty())
            gConnString = rp::db::baseCompartida().gConnString;
        frm.SQL = r.sentencia;
        frm.gConnString = gConnString;
        frm.CampoDevuelto = CampoDevuelto;
        frm.CheckBoxes = Checks;
        frm.UsaCantidades = UsaCantidades;
        frm.ValoresDefault = valoresDefault;
        Valores.clear();
        Cantidades.clear();
        frm.CmpsDevueltos = cmpsDevueltos;
        frm.Load();
        if (observador)
            observador(frm);
        // The keys of ValoresDefault stay marked: clearing every mark here
        // would make the pre-marking pointless.
        Aceptada = rp::ui::operador().dialogo(frm);
        if (!Aceptada)
            frm.Cancelar();
        Checks = false;
        Valores = frm.Valores;
        Cantidades = frm.Cantidades;
        ValorDevuelto = frm.ValorDevuelto;
    }
    CampoDevuelto.clear();
    cmpsDevueltos.reset();
}

bool Lib_ClsCons3::mostrarOpciones(Lib_FrmCons3& frm, const QString& titulo,
                                   const QStringList& opciones, const QList<bool>& marcas) {
    prepararDialogo(frm);
    frm.Titulo = titulo;
    frm.ConNuevaBusqueda = false;
    frm.OrdenarPorLwv = true;
    frm.CampoDevuelto = titulo;
    frm.cargarOpciones(titulo, opciones, marcas);
    if (observador)
        observador(frm);
    const bool ok = rp::ui::operador().dialogo(frm);
    if (!ok)
        frm.Cancelar();
    return ok;
}

QString Lib_ClsCons3::MenuOpciones(const QString& titulo, const QStringList& opciones) {
    Lib_FrmCons3 frm;
    // A single option leaves the list empty, as the suite's pickers do.
    mostrarOpciones(frm, titulo, opciones.size() >= 2 ? opciones : QStringList(), {});
    return frm.ValorDevuelto;
}

void Lib_ClsCons3::CheckOpciones(const QString& titulo, const QStringList& opciones) {
    Lib_FrmCons3 frm;
    frm.CheckBoxes = true;
    QStringList captions;
    QList<bool> marcas;
    if (opciones.size() >= 2)
        for (const QString& o : opciones) {
            captions << o.mid(1);
            marcas << o.startsWith(QLatin1Char('1'));
        }
    mostrarOpciones(frm, titulo, captions, marcas);
    Valores = frm.Valores;
}

QString Lib_ClsCons3::ConsultaDesdeArchivo(const QString& titulo, const QString& archivo) {
    QString ruta = archivo;
    ruta.remove(QLatin1Char('"'));
    const std::optional<QString> texto = rp::suite::Texto1252::leerArchivo(ruta);
    if (!texto || !QFileInfo(ruta).isFile()) {
        rp::ui::operador().mensaje(QStringLiteral("No existe el archivo ") + archivo +
                                   QStringLiteral(" que desea consultar consulta "));
        return QString();
    }
    QStringList lineas = texto->split(QLatin1Char('\n'));
    for (QString& l : lineas)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    Lib_FrmCons3 frm;
    mostrarOpciones(frm, titulo, lineas, {});
    return frm.ValorDevuelto;
}

} // namespace rp::lookup
