#include "app/inicio.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDatabase>
#include <iostream>
#include <memory>

#include "app/carpeta_programa.h"
#include "app/cuestionario_siti.h"
#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/textos.h"
#include "data/colector_conxs.h"
#include "diag/dialogos.h"
#include "diag/programa.h"
#include "diag/qt/dialogos_qt.h"
#include "diag/qt/escritorio.h"
#include "engine/rep_cuestionario_cnbv.h"

namespace kv {

void RegistraFuentes() {
  // Only the regular face: the compatible bold file draws strokes no heavier than the
  // regular one, whereas without it the bold captions are emboldened from the regular face
  // and read as bold (measured on the title: half again as much ink, same width).
  QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

namespace {

std::optional<std::string> PideCarpetaConDialogo(const std::string& sInicial) {
  const QString s = QFileDialog::getExistingDirectory(
      nullptr, QString::fromUtf8(textos_app::kElijaCarpeta), QString::fromStdString(sInicial));
  if (s.isEmpty()) return std::nullopt;
  return s.toStdString();
}

}  // namespace

int EjecutaPrograma(int argc, char** argv) {
  // "--help" and "--version" need no display: answered before the toolkit starts.
  if (auto nSalida = cli::AtiendeAyudaOVersion(kProgramaVentana, argc, argv, std::cout))
    return *nSalida;
  QApplication app(argc, argv);  // takes its own options (-platform, -style...) out of argv
  const cli::TLinea linea = cli::LeeArgumentos(kProgramaVentana, argc, argv, std::cout, std::cerr);
  if (linea.nSalida) return *linea.nSalida;
  if (linea.argumentos.size() > 1) return cli::ErrorDeUso(kProgramaVentana, "", std::cerr);
  QApplication::setApplicationDisplayName(QString::fromUtf8(textos_app::kTituloVentana));
  RegistraFuentes();
  AsignaDialogos(std::make_shared<TDialogosQt>());
  AsignaAbridorArchivos(AbreConEscritorio);
  std::optional<std::string> sArgumento;
  if (!linea.argumentos.empty()) sArgumento = linea.argumentos.front().sValor;
  const std::optional<std::string> sCarpeta =
      EligeCarpetaPrograma(sArgumento, *DameAjustes(), PideCarpetaConDialogo);
  if (!sCarpeta) {
    AsignaDialogos(nullptr);
    return sArgumento ? 1 : 0;
  }
  FijaCarpetaPrograma(*sCarpeta);
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
