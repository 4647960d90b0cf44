#include "app/inicio.h"

#include <QApplication>
#include <QFontDatabase>
#include <memory>

#include "app/cuestionario_siti.h"
#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/textos.h"
#include "data/colector_conxs.h"
#include "diag/dialogos.h"

namespace kv {

void RegistraFuentes() {
  for (const char* sRuta :
       {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
    QFontDatabase::addApplicationFont(QString::fromLatin1(sRuta));
}

int EjecutaPrograma(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QString::fromUtf8(textos_app::kTituloVentana));
  RegistraFuentes();
  AsignaDialogos(std::make_shared<TDialogosQt>());
  ColectorConexiones = std::make_shared<TColectorConxs>();
  int nSalida = 0;
  {
    TdmMain dmMain;
    TfrmPrincipal frmPrincipal(dmMain, DameFabricaSITI2020());
    frmPrincipal.show();
    nSalida = QApplication::exec();
  }
  // The registry goes before the application: its connections close first.
  ColectorConexiones.reset();
  AsignaDialogos(nullptr);
  return nSalida;
}

}  // namespace kv
