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
#include "engine/rep_cuestionario_cnbv.h"

namespace kv {

void RegistraFuentes() {
  // Only the regular face: the compatible bold file draws strokes no heavier than the
  // regular one, whereas without it the bold captions are emboldened from the regular face
  // and read as bold (measured on the title: half again as much ink, same width).
  QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

int EjecutaPrograma(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QString::fromUtf8(textos_app::kTituloVentana));
  RegistraFuentes();
  AsignaDialogos(std::make_shared<TDialogosQt>());
  ColectorConexiones = std::make_shared<TColectorConxs>();
  // What report runs that were killed left behind goes first.
  TRepCuestionarioCNBV::LimpiaCorridasMuertas();
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
