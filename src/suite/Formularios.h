#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rp::suite {

// The suite's routines for forms: preparing a form when it loads, and the
// load and unload notices, which keep the list of the forms open in the
// process.
class Formularios {
public:
    // A form as these routines see it (the form model implements it; the
    // window on top of it only shows what the model holds).
    class Formulario {
    public:
        virtual ~Formulario() = default;
        // The form's name ("frmRp_TARIFARIO").
        virtual QString nombreFormulario() const = 0;
        // The indexes of its filter fields.
        virtual QList<int> indicesCampos() const = 0;
        // Paints a field with these colours (Windows colour values, 0x00BBGGRR).
        virtual void colorearCampo(int indice, quint32 fondo, quint32 letra) = 0;
        // Replaces a field's text.
        virtual void escribirCampo(int indice, const QString& texto) = 0;
    };

    // Colours of a field without the focus: white background, black text.
    static constexpr quint32 ColorFondoNormal = 0xFFFFFF;
    static constexpr quint32 ColorLetraNormal = 0x000000;

    // Called by a form's load handler: every filter field gets the look of a
    // field without the focus; with `vaciar` the fields are emptied too.
    static void PrepararFormulario(Formulario& formulario, bool vaciar);

    // Load notice: the form joins the list of open forms. `parametro` is
    // reserved (the suite's forms pass an empty text).
    static void FormularioCarga(Formulario& formulario, const QString& parametro);
    // Unload notice: the form leaves the list (a form that never loaded
    // changes nothing).
    static void FormularioDescarga(Formulario& formulario, const QString& parametro);

    // Names of the open forms, in the order they loaded.
    static QStringList FormulariosAbiertos();
};

} // namespace rp::suite
