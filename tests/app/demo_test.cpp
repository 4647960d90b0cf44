// The window over a demo program folder with the real questionnaire: login, detection,
// ticks and report, as the user goes through them.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/modelo_peps.h"
#include "diag/bitacora.h"
#include "diag/programa.h"
#include "engine/rep_cuest_siti2020.h"
#include "tests/app/ventana_prueba.h"
#include "tests/support/carpeta_sin_escritura.h"

namespace kv {
namespace {

class FrmPrincipalDemo : public VentanaPrueba {
 protected:
  void SetUp() override {
    VentanaPrueba::SetUp();
    demo::OpcionesDemo opciones;
    opciones.carpeta = carpeta.Ruta();
    opciones.operaciones = 2000;
    demo::GeneraDemo(opciones);
  }
};

TEST_F(FrmPrincipalDemo, WrongPasswordIsRefused) {
  TfrmPrincipal& frm = VentanaReal();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QStringLiteral("OTRA"));
  frm.bnDetectaPEPs->click();
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{Dice("acceso negado (caja)")});
  EXPECT_EQ(frm.txMensajes->text().toStdString(), Dice("acceso negado (estado)"));
  EXPECT_FALSE(frm.bnGenReporte->isEnabled());
  EXPECT_EQ(frm.dsPEPs()->rowCount(), 0);
}

TEST_F(FrmPrincipalDemo, DetectionListsTheFlaggedClients) {
  TfrmPrincipal& frm = VentanaReal();
  MuestraYAcepta();
  QTest::keyClicks(frm.edUsuario, QStringLiteral("admin"));
  QTest::keyClicks(frm.edPassw, QStringLiteral("cambios"));
  frm.bnDetectaPEPs->click();
  EXPECT_TRUE(dialogos->Textos().empty());
  EXPECT_EQ(frm.txMensajes->text().toStdString(), Dice("detección terminada"));
  ASSERT_GE(frm.dsPEPs()->rowCount(), 2);
  EXPECT_TRUE(frm.grdPEPs->isEnabled());
  EXPECT_TRUE(frm.bnGenReporte->isEnabled());
  EXPECT_TRUE(frm.pnIgnorar->isHidden());
  for (int i = 0; i < frm.dsPEPs()->rowCount(); ++i) {
    EXPECT_FALSE(frm.dsPEPs()->index(i, 1).data().toString().isEmpty());
    EXPECT_EQ(frm.dsPEPs()->index(i, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  }
}

// The files below a folder, relative to it, sorted.
std::vector<std::string> Archivos(const std::filesystem::path& carpeta) {
  std::vector<std::string> r;
  for (const auto& e : std::filesystem::recursive_directory_iterator(carpeta))
    r.push_back(std::filesystem::relative(e.path(), carpeta).string());
  std::sort(r.begin(), r.end());
  return r;
}

// Detect, tick two clients, generate: the PDF holds the answers those two ticks give.
TEST_F(FrmPrincipalDemo, ReportWithTwoTicks) {
  std::vector<std::string> abiertos;
  const auto abridorAnterior = AsignaAbridorArchivos([&](const std::string& sArchivo) {
    abiertos.push_back(sArchivo);
    return true;
  });
  TfrmPrincipal& frm = VentanaReal();
  MuestraYAcepta();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QString::fromLatin1(demo::kPasswordAdmin));
  frm.bnDetectaPEPs->click();
  ASSERT_GE(frm.dsPEPs()->rowCount(), 2);
  for (int nFila : {0, 1}) {
    QTest::mouseClick(frm.grdPEPs->viewport(), Qt::LeftButton, {},
                      frm.grdPEPs->visualRect(frm.dsPEPs()->index(nFila, 0)).center());
  }
  dialogos->Responde({true});
  frm.bnGenReporte->click();
  AsignaAbridorArchivos(abridorAnterior);
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>{ConfirmacionSinRespuestasCC()});
  // The evidence workbook beside the PDF, named on the status line.
  const auto libro = carpeta.Ruta() / "CuestionarioOperatividad2020-evidencia.xlsx";
  EXPECT_EQ(frm.txMensajes->text().toStdString(),
            Dice("reporte generado") + " Evidencia: " + libro.string());
  EXPECT_TRUE(std::filesystem::exists(libro));
  const auto pdf = carpeta.Ruta() / "CuestionarioOperatividad2020.pdf";
  ASSERT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(abiertos, std::vector<std::string>{pdf.string()});
  const std::string sPdf = TextoDelPdf(pdf);

  // The answers with these two ticks and with none; where they differ the ticks count.
  db::Connection* Conector = nullptr;
  ASSERT_TRUE(ColectorConexiones->DameAccessConex("BDPrincipal", Conector));
  TTablaPEPs sinMarcas;
  sinMarcas.Open();
  int nDependen = 0;
  for (int n = 1; n <= 212; ++n) {
    TRepCuestSITI2020 conMarcas(Conector, 19.26, 1), sinMarca(Conector, 19.26, 1);
    conMarcas.EstableceTablaPEPs(&dm.vtPEPs);
    sinMarca.EstableceTablaPEPs(&sinMarcas);
    std::string sCon, sSin;
    ASSERT_TRUE(conMarcas.RespondePregunta(n, sCon)) << n;
    ASSERT_TRUE(sinMarca.RespondePregunta(n, sSin)) << n;
    if (sCon == sSin) continue;
    ++nDependen;
    EXPECT_NE(sPdf.find(sCon), std::string::npos) << "question " << n << ": " << sCon;
  }
  EXPECT_GT(nDependen, 0);
}

// Without the converter the report stops before any answer: the status line's failure text,
// then a box that says what to install, the same text in the support log, and the folder
// as it was.
TEST_F(FrmPrincipalDemo, WithoutTheConverterTheReportStopsAtOnceAndSaysWhy) {
  TCarpetaTemporal vacia;  // a PATH without soffice
  const std::string sPathAnterior = std::getenv("PATH") ? std::getenv("PATH") : "";
  TfrmPrincipal& frm = VentanaReal();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QString::fromLatin1(demo::kPasswordAdmin));
  frm.bnDetectaPEPs->click();
  ASSERT_TRUE(frm.bnGenReporte->isEnabled());
  const auto antes = Archivos(carpeta.Ruta());
  std::error_code ec;
  std::filesystem::remove(DameRutaBitacora(), ec);
  dialogos->Responde({true});
  setenv("PATH", vacia.Ruta().c_str(), 1);
  frm.bnGenReporte->click();
  setenv("PATH", sPathAnterior.c_str(), 1);
  const std::string sCausa =
      "No se encontró LibreOffice (soffice), que este programa usa para crear el PDF. Instale el "
      "paquete libreoffice-writer y vuelva a intentarlo. Detalle: no se pudo ejecutar el "
      "convertidor soffice (No such file or directory)";
  EXPECT_EQ(
      dialogos->Textos(),
      (std::vector<std::string>{
          ConfirmacionSinRespuestasCC(),
          sCausa + "\r\n\r\nQuedó registrado para Soporte Técnico en: " + DameRutaBitacora()}));
  EXPECT_EQ(frm.txMensajes->text().toStdString(), Dice("reporte fallido"));
  EXPECT_EQ(Archivos(carpeta.Ruta()), antes);
  std::ifstream bitacora(DameRutaBitacora());
  std::string sUltima;
  for (std::string s; std::getline(bitacora, s);) sUltima = s;
  EXPECT_TRUE(sUltima.ends_with("  " + sCausa)) << sUltima;
}

// A workbook that cannot be written after a good PDF: the status line and a box say that the
// report is done but its evidence is not, and why; the PDF stays, an earlier workbook stays as
// it was and no part of the new one is left in the folder.
TEST_F(FrmPrincipalDemo, AWorkbookThatCannotBeWrittenIsSaidInABoxAndTheReportStays) {
  const auto libro = carpeta.Ruta() / "CuestionarioOperatividad2020-evidencia.xlsx";
  const auto pdf = carpeta.Ruta() / "CuestionarioOperatividad2020.pdf";
  const std::string sAnterior = "el libro de un reporte anterior";
  std::ofstream(libro, std::ios::binary) << sAnterior;
  // The folder stops taking files once the PDF is there (when the desktop would open it).
  std::unique_ptr<TCarpetaSinEscritura> sinEscritura;
  const auto abridorAnterior = AsignaAbridorArchivos([&](const std::string&) {
    sinEscritura = std::make_unique<TCarpetaSinEscritura>(carpeta.Ruta());
    return true;
  });
  TfrmPrincipal& frm = VentanaReal();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QString::fromLatin1(demo::kPasswordAdmin));
  frm.bnDetectaPEPs->click();
  ASSERT_TRUE(frm.bnGenReporte->isEnabled());
  dialogos->Responde({true});
  frm.bnGenReporte->click();
  AsignaAbridorArchivos(abridorAnterior);
  ASSERT_NE(sinEscritura, nullptr) << "the PDF was not opened";
  const bool bEfectiva = sinEscritura->Efectiva();
  sinEscritura.reset();
  if (!bEfectiva) GTEST_SKIP() << "the folder stays writable here";

  const std::string sSinEvidencia =
      "El reporte se generó correctamente, pero no se pudo guardar su evidencia.";
  EXPECT_EQ(dialogos->Textos(),
            (std::vector<std::string>{ConfirmacionSinRespuestasCC(),
                                      sSinEvidencia + "\nNo se pudo guardar el libro de Excel " +
                                          libro.string() +
                                          " (Error creating output xlsx file. Usually a "
                                          "permissions error.)"}));
  EXPECT_EQ(frm.txMensajes->text().toStdString(), sSinEvidencia);
  EXPECT_TRUE(std::filesystem::exists(pdf));
  std::ifstream f(libro, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), sAnterior);
  for (const auto& sArchivo : Archivos(carpeta.Ruta()))
    EXPECT_EQ(sArchivo.find(".tmp"), std::string::npos) << sArchivo;
}

}  // namespace
}  // namespace kv
