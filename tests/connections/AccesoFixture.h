#pragma once

#include "suite/Aplicacion.h"
#include "ui/OperadorGuion.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A program folder of its own (with its BASES.TXT), a scripted operator and a
// log folder for the failure reports.
class AccesoFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(carpeta_.isValid());
        anterior_ = rp::suite::Aplicacion::carpetaPrograma();
        rp::suite::Aplicacion::establecerCarpetaPrograma(carpeta_.path());
        qputenv("temp", carpeta_.path().toLocal8Bit());
        qputenv("tmp", carpeta_.path().toLocal8Bit());
        rp::ui::setOperador(&guion_);
    }
    void TearDown() override {
        rp::ui::setOperador(nullptr);
        rp::suite::Aplicacion::establecerCarpetaPrograma(QString());
    }

    QString rutaBases() const { return carpeta_.filePath("BASES.TXT"); }
    void escribirBases(const QByteArray& contenido) {
        QFile f(rutaBases());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenido);
    }
    QByteArray leerBases() const {
        QFile f(rutaBases());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir carpeta_;
    QString anterior_;
    rp::ui::OperadorGuion guion_;
};
