// Appending entries to the connection list.
#include "connections/GrabarBase.h"
#include "AccesoFixture.h"
#include "connections/ArchivoBases.h"
#include "connections/frmAcceso.h"
#include "suite/Utilidades.h"

using rp::connections::ArchivoBases;
using rp::connections::frmAcceso;
using rp::connections::GrabarBase;

class GrabarBaseTest : public AccesoFixture {};

TEST_F(GrabarBaseTest, AppendsTrimmedFieldsWithTheEncodedPasswordAndCrLf) {
    ASSERT_FALSE(GrabarBase(" VENTAS / SRV01\\INST1 ", " Ventas ", "Ventas", "Ventas",
                            " srv01\\inst1 ", false));
    ASSERT_FALSE(GrabarBase("ORCL / ORA01", "Orcl", "Orcl", "Orcl", "ora01", true));
    const QByteArray esperado = "VENTAS / SRV01\\INST1,Ventas,Ventas," +
                                rp::suite::Utilidades::CodificarClave("Ventas").toLatin1() +
                                ",srv01\\inst1\r\n" + "ORCL / ORA01,Orcl,Orcl," +
                                rp::suite::Utilidades::CodificarClave("Orcl").toLatin1() +
                                ",#ora01\r\n";
    EXPECT_EQ(leerBases(), esperado);

    // What is written reads back: the dialog lists it and decodes the password.
    frmAcceso f;
    f.Form_Load();
    EXPECT_EQ(f.lstBases(), QStringList({"VENTAS / SRV01\\INST1", "ORCL / ORA01"}));
    f.DatosBase("ORCL / ORA01");
    EXPECT_EQ(f.servidorEncontrado(), "#ora01");
    EXPECT_EQ(f.passwordEncontrado(), "Orcl");
}

TEST_F(GrabarBaseTest, KeepsExistingLinesAndStartsANewLineAfterAnUnfinishedOne) {
    escribirBases("A,Db,U,P,S");
    ASSERT_FALSE(GrabarBase("B", "Db2", "U2", "x", "S2", false));
    const auto l = ArchivoBases::leer(rutaBases());
    ASSERT_EQ(l.entradas.size(), 2u);
    EXPECT_EQ(l.entradas[0].servidor, "S");
    EXPECT_EQ(l.entradas[1].clave, "B");
    EXPECT_TRUE(leerBases().startsWith("A,Db,U,P,S\r\nB,"));
}

TEST_F(GrabarBaseTest, WritesWindows1252) {
    ASSERT_FALSE(GrabarBase(QString::fromUtf8("COMPAÑÍA / SRV"), QString::fromUtf8("Compañía"), "u",
                            "p", "srv", false));
    EXPECT_TRUE(leerBases().startsWith("COMPA\xd1\xcd"
                                       "A / SRV,Compa\xf1\xed"
                                       "a,"));
    const auto l = ArchivoBases::leer(rutaBases());
    ASSERT_EQ(l.entradas.size(), 1u);
    EXPECT_EQ(l.entradas[0].baseDatos, QString::fromUtf8("Compañía"));
}

TEST_F(GrabarBaseTest, RefusesValuesThatWouldSplitIntoOtherFields) {
    escribirBases("A,Db,U,P,S\r\n");
    for (const QString& malo : {QString("Db,2"), QString("Db\"2"), QString("Db\r\nX,Y,Z,W,V")}) {
        const auto error = GrabarBase("K", malo, "u", "p", "srv", false);
        ASSERT_TRUE(error.has_value()) << malo.toStdString();
        EXPECT_EQ(error->number, 5);
    }
    EXPECT_EQ(leerBases(), "A,Db,U,P,S\r\n");
}

TEST_F(GrabarBaseTest, UnwritableFileIsReportedToTheCaller) {
    QDir(carpeta_.path()).mkdir("BASES.TXT"); // a folder where the file should be
    const auto error = GrabarBase("K", "Db", "u", "p", "srv", false);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, 75);
}
