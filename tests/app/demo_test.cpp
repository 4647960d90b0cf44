// The window over a demo program folder with the real questionnaire: login, detection,
// ticks and report, as the user goes through them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/modelo_peps.h"
#include "app/textos.h"
#include "tests/app/ventana_prueba.h"

namespace kv {
namespace {

using namespace textos_app;

class DemoPrueba : public VentanaPrueba {
 protected:
  void SetUp() override {
    VentanaPrueba::SetUp();
    demo::OpcionesDemo opciones;
    opciones.carpeta = carpeta.Ruta();
    opciones.operaciones = 2000;
    demo::GeneraDemo(opciones);
  }
};

TEST_F(DemoPrueba, WrongPasswordIsRefused) {
  TfrmPrincipal& frm = VentanaReal();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QStringLiteral("OTRA"));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{kAccesoNegadoCaja});
  EXPECT_EQ(frm.txMensajes->text().toStdString(), kAccesoNegadoEstado);
  EXPECT_FALSE(frm.bnGenReporte->isEnabled());
  EXPECT_EQ(frm.dsPEPs()->rowCount(), 0);
}

TEST_F(DemoPrueba, DetectionListsTheFlaggedClients) {
  TfrmPrincipal& frm = VentanaReal();
  MuestraYAcepta();
  QTest::keyClicks(frm.edUsuario, QStringLiteral("admin"));
  QTest::keyClicks(frm.edPassw, QStringLiteral("cambios"));
  frm.bnDetectaPEPs->click();
  EXPECT_TRUE(dialogos->Textos().empty());
  EXPECT_EQ(frm.txMensajes->text().toStdString(), kDeteccionFinalizada);
  ASSERT_GE(frm.dsPEPs()->rowCount(), 2);
  EXPECT_TRUE(frm.grdPEPs->isEnabled());
  EXPECT_TRUE(frm.bnGenReporte->isEnabled());
  EXPECT_TRUE(frm.pnIgnorar->isHidden());
  for (int i = 0; i < frm.dsPEPs()->rowCount(); ++i) {
    EXPECT_FALSE(frm.dsPEPs()->index(i, 1).data().toString().isEmpty());
    EXPECT_EQ(frm.dsPEPs()->index(i, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  }
}

}  // namespace
}  // namespace kv
