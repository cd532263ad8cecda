#include "suite/RegistroErrores.h"

#include "ui/OperadorGuion.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using rp::suite::CodErr;
using rp::suite::RegistroErrores;

namespace {

QByteArray leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(RegistroErrores, LogLineLayout) {
    const QDateTime t(QDate(2024, 3, 5), QTime(7, 8, 9));
    EXPECT_EQ(
        RegistroErrores::LineaErrorLog(t, "Cfg - ", " Ha ocurrido X ", "Reintentar"),
        QString::fromUtf8(
            "03-05-2024 07:08:09 Rutina: Cfg - Mensaje Ha ocurrido X Respondió : Reintentar"));
    EXPECT_EQ(RegistroErrores::LineaErrorLog(t, "", "m", ""),
              QString::fromUtf8("03-05-2024 07:08:09 Rutina:  Mensaje m Respondió : "));
}

TEST(RegistroErrores, MessageTitleAndAnswerTexts) {
    EXPECT_EQ(RegistroErrores::MensajeOperador(CodErr{-5, "  sin tabla  ", "x"}),
              "Ha ocurrido el Siguiente Error (-5) sin tabla");
    EXPECT_EQ(RegistroErrores::Titulo("DB", QString("Cfg"), "2"),
              "DBCfg -  Aviso al operador!!! - 2 ");
    EXPECT_EQ(RegistroErrores::Titulo("DB", std::nullopt, "5"), "DB Aviso al operador!!! - 5 ");
    const char* textos[] = {"", "", "Cancelar", "Abortar", "Reintentar", "Ignorar", "Sí", "No", ""};
    for (int i = 0; i <= 8; ++i)
        EXPECT_EQ(RegistroErrores::TextoRespuesta(i), QString::fromUtf8(textos[i])) << i;
}

TEST(RegistroErrores, InformarShowsTheBoxLogsAndReturnsTheAnswer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath("KSERR.LOG");
    rp::ui::OperadorGuion guion;
    rp::ui::setOperador(&guion);
    guion.responderMensaje(rp::ui::vbYes);

    EXPECT_EQ(RegistroErrores::Informar(CodErr{0, "x", "y"}, 18, QString("R"), "y", "5", log), 0);
    EXPECT_TRUE(guion.interacciones().isEmpty());
    EXPECT_FALSE(QFile::exists(log));

    EXPECT_EQ(RegistroErrores::Informar(CodErr{7, "d", "Prov"}, 4, QString("R"), "Prov", "5", log),
              rp::ui::vbYes);
    ASSERT_EQ(guion.mensajes().size(), 1);
    EXPECT_EQ(guion.mensajes()[0].titulo, "ProvR -  Aviso al operador!!! - 5 ");
    EXPECT_EQ(guion.mensajes()[0].estilo, 4);
    const QByteArray linea = leer(log);
    EXPECT_TRUE(linea.endsWith(" Rutina: R - Mensaje Ha ocurrido el Siguiente Error (7) d "
                               "Respondi\xF3 : S\xED\r\n"))
        << linea.toStdString();
    rp::ui::setOperador(nullptr);
}
