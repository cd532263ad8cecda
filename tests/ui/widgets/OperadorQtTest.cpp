#include "ui/widgets/OperadorQt.h"
#include "AplicacionPrueba.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace rp::ui;

namespace {

class OperadorQtTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { rp::prueba::aplicacion(); }

    // Runs `accion` on the first modal dialog of type T once it is shown.
    template <typename T> void alAparecer(std::function<void(T*)> accion) {
        auto* timer = new QTimer(qApp);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, accion]() {
            if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                accion(d);
            }
        });
        timer->start();
    }

    OperadorQt op_;
};

QStringList textos(const QMessageBox* caja) {
    QStringList t;
    for (QAbstractButton* b : caja->buttons())
        t << b->text();
    t.sort();
    return t;
}

QAbstractButton* botonTitulado(QMessageBox* caja, const QString& texto) {
    for (QAbstractButton* b : caja->buttons()) {
        if (b->text() == texto)
            return b;
    }
    return nullptr;
}

struct Modelo : DialogoModal {
    QString dialogName() const override { return "Lib_FrmCons3"; }
    int valor = 0;
};

} // namespace

TEST_F(OperadorQtTest, Style18IsCriticalAbortRetryIgnoreWithAbortAsDefault) {
    QStringList vistos;
    QString defecto, titulo;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    bool conEscape = true;
    alAparecer<QMessageBox>([&](QMessageBox* caja) {
        vistos = textos(caja);
        icono = caja->icon();
        titulo = caja->windowTitle();
        defecto = caja->defaultButton() ? caja->defaultButton()->text() : QString();
        conEscape = caja->escapeButton() != nullptr;
        botonTitulado(caja, "Reintentar")->click();
    });
    EXPECT_EQ(op_.mensaje("Ha ocurrido el Siguiente Error (5) x", 18, "Aviso"), vbRetry);
    EXPECT_EQ(vistos, (QStringList{"Anular", "Omitir", "Reintentar"}));
    EXPECT_EQ(icono, QMessageBox::Critical);
    EXPECT_EQ(defecto, "Anular");
    EXPECT_EQ(titulo, "Aviso");
    EXPECT_FALSE(conEscape);
}

TEST_F(OperadorQtTest, DefaultButtonBitsAndIcons) {
    QString defecto;
    QMessageBox::Icon icono = QMessageBox::NoIcon;
    alAparecer<QMessageBox>([&](QMessageBox* caja) {
        defecto = caja->defaultButton()->text();
        icono = caja->icon();
        caja->defaultButton()->click();
    });
    EXPECT_EQ(op_.mensaje("¿Seguro?", 4 | 32 | 256, "t"), vbNo);
    EXPECT_EQ(defecto, "No");
    EXPECT_EQ(icono, QMessageBox::Question);

    alAparecer<QMessageBox>([&](QMessageBox* caja) {
        defecto = caja->defaultButton()->text();
        icono = caja->icon();
        caja->defaultButton()->click();
    });
    EXPECT_EQ(op_.mensaje("x", 3 | 48 | 512, "t"), vbCancel);
    EXPECT_EQ(defecto, "Cancelar");
    EXPECT_EQ(icono, QMessageBox::Warning);
}

TEST_F(OperadorQtTest, EscapeAnswersCancelOrTheOnlyOk) {
    QStringList vistos;
    alAparecer<QMessageBox>([&](QMessageBox* caja) {
        vistos = textos(caja);
        caja->reject();
    });
    EXPECT_EQ(op_.mensaje("x", 1, "t"), vbCancel);
    EXPECT_EQ(vistos, (QStringList{"Aceptar", "Cancelar"}));

    QMessageBox::Icon icono = QMessageBox::NoIcon;
    alAparecer<QMessageBox>([&](QMessageBox* caja) {
        icono = caja->icon();
        caja->reject();
    });
    EXPECT_EQ(op_.mensaje("info", 64, "t"), vbOK);
    EXPECT_EQ(icono, QMessageBox::Information);
}

TEST_F(OperadorQtTest, InputBoxReturnsTextOrNothing) {
    alAparecer<QInputDialog>([](QInputDialog* d) {
        EXPECT_EQ(d->textValue(), "1");
        d->setTextValue("12,5");
        d->accept();
    });
    EXPECT_EQ(op_.ingresar("Cantidad", "Faltante", "1"), QString("12,5"));
    alAparecer<QInputDialog>([](QInputDialog* d) { d->reject(); });
    EXPECT_EQ(op_.ingresar("Cantidad", "Faltante"), std::nullopt);
}

TEST_F(OperadorQtTest, DatePickerStartsOnTheGivenDate) {
    alAparecer<QDialog>([](QDialog* d) {
        auto* cal = d->findChild<QCalendarWidget*>("calFecha");
        ASSERT_NE(cal, nullptr);
        EXPECT_EQ(cal->selectedDate(), QDate(2024, 2, 29));
        EXPECT_EQ(cal->firstDayOfWeek(), Qt::Monday);
        cal->setSelectedDate(QDate(2024, 3, 1));
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(op_.elegirFecha(QDate(2024, 2, 29)), QDate(2024, 3, 1));
    alAparecer<QDialog>([](QDialog* d) { d->reject(); });
    EXPECT_EQ(op_.elegirFecha(QDate(2024, 2, 29)), std::nullopt);
}

TEST_F(OperadorQtTest, SuiteFileFiltersBecomeQtFilters) {
    EXPECT_EQ(OperadorQt::filtrosQt("Access |*.MDB"), (QStringList{"Access (*.MDB *.mdb)"}));
    EXPECT_EQ(OperadorQt::filtrosQt("Texto|*.txt;*.csv|Todos |*.*"),
              (QStringList{"Texto (*.txt *.TXT *.csv *.CSV)", "Todos (*.*)"}));
    EXPECT_TRUE(OperadorQt::filtrosQt("").isEmpty());
    EXPECT_TRUE(OperadorQt::filtrosQt("Solo descripcion|").isEmpty());
}

TEST_F(OperadorQtTest, RegisteredDialogsShowOverTheModel) {
    Modelo m;
    EXPECT_FALSE(op_.dialogo(m));
    op_.registrarDialogo("LIB_FRMCONS3", [](DialogoModal& modelo, QWidget*) {
        static_cast<Modelo&>(modelo).valor = 7;
        return true;
    });
    EXPECT_TRUE(op_.dialogoRegistrado("lib_frmcons3"));
    EXPECT_TRUE(op_.dialogo(m));
    EXPECT_EQ(m.valor, 7);
}
