// Pictures of the window for a look by eye: written only when KV_CAPTURA_DIR names a
// folder (scripts/capture-window sets it).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPixmap>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "app/modelo_peps.h"
#include "tests/app/ventana_prueba.h"

namespace kv {
namespace {

class Captura : public VentanaPrueba {
 protected:
  void Guarda(const char* sNombre) {
    QApplication::processEvents();
    const QString ruta =
        QString::fromLocal8Bit(std::getenv("KV_CAPTURA_DIR")) + '/' + QString::fromLatin1(sNombre);
    EXPECT_TRUE(Ventana().grab().save(ruta, "PNG")) << ruta.toStdString();
  }
};

TEST_F(Captura, BeforeAndAfterDetection) {
  if (std::getenv("KV_CAPTURA_DIR") == nullptr) GTEST_SKIP() << "KV_CAPTURA_DIR not set";
  PreparaCarpeta();
  guion->nombres = {"ANA MARIA PEREZ GONZALEZ", "LUIS GARCIA RAMIREZ",
                    "MARIA LOPEZ SANCHEZ",      "JOSE HERNANDEZ MARTINEZ",
                    "ROSA JIMENEZ DE LA CRUZ",  "CARLOS ALBERTO TORRES VILLALOBOS",
                    "PATRICIA NUÑEZ ÁVILA"};
  TfrmPrincipal& frm = Ventana();
  MuestraYAcepta();
  Guarda("1-inicio.png");

  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.edPassw->setText(QStringLiteral("CAMBIOS"));
  frm.bnDetectaPEPs->click();
  QTest::mouseClick(frm.grdPEPs->viewport(), Qt::LeftButton, {},
                    frm.grdPEPs->visualRect(frm.dsPEPs()->index(1, 0)).center());
  QTest::mouseClick(frm.grdPEPs->viewport(), Qt::LeftButton, {},
                    frm.grdPEPs->visualRect(frm.dsPEPs()->index(4, 0)).center());
  Guarda("2-deteccion.png");

  guion->nombres.clear();
  frm.bnDetectaPEPs->click();
  Guarda("3-sin-peps.png");

  frm.edUsuario->clear();
  frm.bnDetectaPEPs->click();
  // Taken while the key caption blinks red (the blink run keeps serving events).
  QTimer::singleShot(450, &frm, [this] { Guarda("4-falta-usuario.png"); });
  QTest::qWait(3000);
}

// The same window over a demo folder, after a real detection with two clients ticked.
TEST_F(Captura, DemoFolderDetection) {
  if (std::getenv("KV_CAPTURA_DIR") == nullptr) GTEST_SKIP() << "KV_CAPTURA_DIR not set";
  demo::OpcionesDemo opciones;
  opciones.carpeta = carpeta.Ruta();
  opciones.operaciones = 2000;
  demo::GeneraDemo(opciones);
  TfrmPrincipal& frm = VentanaReal();
  MuestraYAcepta();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QString::fromLatin1(demo::kPasswordAdmin));
  frm.bnDetectaPEPs->click();
  for (int nFila : {0, 2}) {
    QTest::mouseClick(frm.grdPEPs->viewport(), Qt::LeftButton, {},
                      frm.grdPEPs->visualRect(frm.dsPEPs()->index(nFila, 0)).center());
  }
  Guarda("5-demo-deteccion.png");
}

}  // namespace
}  // namespace kv
