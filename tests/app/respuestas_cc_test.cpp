// The exchange house's own answers in the window: the command, its dialog (entries, dependent
// questions, messages at the field, saving, cancelling, a damaged file, a folder that cannot
// be written), the report's confirmation and the answers in the PDF.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/dlg_respuestas_cc.h"
#include "app/modelo_peps.h"
#include "app/ubicacion_respuestas_cc.h"
#include "tests/app/ventana_prueba.h"
#include "tests/support/archivos.h"
#include "tests/support/carpeta_sin_escritura.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

class DlgRespuestasCC : public VentanaPrueba {
 protected:
  void SetUp() override {
    VentanaPrueba::SetUp();
    // The user's configuration folder of these tests.
    const char* sAnterior = std::getenv("XDG_CONFIG_HOME");
    if (sAnterior) configAnterior_ = sAnterior;
    ::setenv("XDG_CONFIG_HOME", (usuario_.Ruta() / "config").c_str(), 1);
  }
  void TearDown() override {
    if (configAnterior_)
      ::setenv("XDG_CONFIG_HOME", configAnterior_->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    VentanaPrueba::TearDown();
  }
  fs::path Archivo() const { return carpeta.Ruta() / "RespuestasCC.ini"; }
  fs::path ArchivoUsuario() const {
    return usuario_.Ruta() / "config/cuestionario-operatividad/RespuestasCC.ini";
  }
  std::unique_ptr<TdlgRespuestasCC> Dialogo() {
    auto d = std::make_unique<TdlgRespuestasCC>(CargaRespuestasCC(), RutaRespuestasCCEnUso());
    d->show();
    QApplication::processEvents();
    return d;
  }

  TCarpetaTemporal usuario_;
  std::optional<std::string> configAnterior_;
};

TEST_F(DlgRespuestasCC, EntriesFollowTheKindOfEachQuestion) {
  auto d = Dialogo();
  EXPECT_EQ(d->windowTitle().toStdString(), "Respuestas del centro cambiario");
  EXPECT_EQ(d->txFaltan->text().toStdString(), "Faltan por responder: 39 de 39");
  EXPECT_NE(d->Entrada(1).linea, nullptr);
  EXPECT_NE(d->Entrada(31).texto, nullptr);
  ASSERT_NE(d->Entrada(17).opcion, nullptr);
  EXPECT_EQ(d->Entrada(17).opcion->count(), 5);  // "(sin responder)" and the four levels
  EXPECT_EQ(d->Entrada(17).opcion->itemText(1).toStdString(), "MUY ALTO");
  EXPECT_EQ(d->Entrada(7).casillas.size(), 32u);
  EXPECT_EQ(d->Entrada(19).casillas.size(), 45u);
  ASSERT_NE(d->Entrada(27).especifique, nullptr);
  EXPECT_EQ(d->Entrada(9).especifique, nullptr);
  // The question's own text and its guidance note are shown with it.
  std::vector<std::string> textos;
  for (QLabel* l : d->Entrada(4).marco->findChildren<QLabel*>())
    textos.push_back(l->text().toStdString());
  EXPECT_NE(
      std::find(textos.begin(), textos.end(),
                "Anote el nombre de la persona que ocupaba el cargo al 31 de diciembre de 2019."),
      textos.end());
}

TEST_F(DlgRespuestasCC, DependentQuestionsOpenWithTheirAnswer) {
  auto d = Dialogo();
  EXPECT_FALSE(d->Entrada(10).marco->isEnabled());
  EXPECT_FALSE(d->Entrada(11).marco->isEnabled());
  d->Entrada(9).opcion->setCurrentText(QStringLiteral("SI"));
  EXPECT_TRUE(d->Entrada(10).marco->isEnabled());
  EXPECT_TRUE(d->Entrada(11).marco->isEnabled());
  d->Entrada(10).linea->setText(QStringLiteral("2"));
  EXPECT_EQ(d->txFaltan->text().toStdString(), "Faltan por responder: 37 de 39");
  d->Entrada(9).opcion->setCurrentText(QStringLiteral("NO"));
  EXPECT_FALSE(d->Entrada(10).marco->isEnabled());
  EXPECT_FALSE(d->Entrada(11).marco->isEnabled());
  EXPECT_EQ(d->txFaltan->text().toStdString(), "Faltan por responder: 36 de 39");
  // The box of "ESPECIFIQUE SU PROPIO VALOR:" opens with that option only.
  d->Entrada(18).opcion->setCurrentText(QStringLiteral("SI"));
  EXPECT_FALSE(d->Entrada(27).especifique->isEnabled());
  d->Entrada(27).opcion->setCurrentText(QStringLiteral("ESPECIFIQUE SU PROPIO VALOR:"));
  EXPECT_TRUE(d->Entrada(27).especifique->isEnabled());
}

TEST_F(DlgRespuestasCC, MessagesAtTheField) {
  auto d = Dialogo();
  const struct {
    int nPregunta;
    const char* sTexto;
    const char* sMensaje;  // "" none
  } casos[] = {
      {6, "12", ""},
      {6, "1,200",
       "Escriba un número entero mayor o igual a 0, sólo con dígitos (sin puntos, "
       "comas ni signos)."},
      {8, "-3",
       "Escriba un número entero mayor o igual a 0, sólo con dígitos (sin puntos, "
       "comas ni signos)."},
      {2, "ABC010203XY1", ""},
      {2, "ABCD010203XY1",
       "El RFC de una persona moral con homoclave tiene 12 caracteres: 3 letras, la fecha de "
       "constitución (AAMMDD) y 3 caracteres de homoclave (por ejemplo: ABC010203XY1). "
       "Revíselo; se guardará tal como lo escribió."},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::to_string(c.nPregunta) + " " + c.sTexto);
    d->Entrada(c.nPregunta).linea->setText(QString::fromUtf8(c.sTexto));
    EXPECT_EQ(d->Entrada(c.nPregunta).mensaje->text().toStdString(), c.sMensaje);
    EXPECT_EQ(d->Entrada(c.nPregunta).mensaje->isVisible(), *c.sMensaje != '\0');
  }
  // Only the RFC counts as answered: a count with an error is still to be given.
  EXPECT_EQ(d->txFaltan->text().toStdString(), "Faltan por responder: 38 de 39");
  // The RFC is typed in capitals; a wrong one is warned of, not refused.
  d->Entrada(2).linea->clear();
  QTest::keyClicks(d->Entrada(2).linea, QStringLiteral("abc010203xy1"));
  EXPECT_EQ(d->Entrada(2).linea->text().toStdString(), "ABC010203XY1");
  d->Entrada(2).linea->setText(QStringLiteral("XYZ"));
  d->Entrada(8).linea->clear();
  // A count that is not a whole number stops the saving.
  EXPECT_FALSE(d->Guarda());
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>{"Hay respuestas con errores (marcadas en rojo). Corríjalas "
                                     "antes de guardar. Primera: pregunta 6."});
  EXPECT_FALSE(fs::exists(Archivo()));
  d->Entrada(6).linea->setText(QStringLiteral("4"));
  EXPECT_TRUE(d->Guarda());
  EXPECT_NE(Lee(Archivo()).find("\nP2=XYZ\n"), std::string::npos);
}

TEST_F(DlgRespuestasCC, SavedAnswersComeBackAndCancelAsksFirst) {
  {
    auto d = Dialogo();
    d->Entrada(1).linea->setText(QStringLiteral("CAMBIOS \"EL ÁGUILA\", S.A. DE C.V."));
    d->Entrada(31).texto->setPlainText(QStringLiteral("BANCO UNO\nBANCO DOS"));
    d->Entrada(7).casillas[6]->setChecked(true);
    d->Entrada(28).opcion->setCurrentText(QStringLiteral("SI"));
    d->Entrada(36).opcion->setCurrentText(QStringLiteral("ESPECIFIQUE SU PROPIO VALOR:"));
    d->Entrada(36).especifique->setText(QStringLiteral("  EUROS "));
    ASSERT_TRUE(d->Guarda());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(dialogos->Textos().empty());
  }
  const std::string sArchivo = Lee(Archivo());
  for (const char* sLinea :
       {"\nP1=CAMBIOS \"EL ÁGUILA\", S.A. DE C.V.\n", "\nP7=CIUDAD DE MÉXICO\n",
        "\nP31=BANCO UNO\\nBANCO DOS\n", "\nP36=ESPECIFIQUE SU PROPIO VALOR: EUROS\n"})
    EXPECT_NE(sArchivo.find(sLinea), std::string::npos) << sLinea;

  auto d = Dialogo();
  EXPECT_EQ(d->Entrada(1).linea->text().toStdString(), "CAMBIOS \"EL ÁGUILA\", S.A. DE C.V.");
  EXPECT_EQ(d->Entrada(31).texto->toPlainText().toStdString(), "BANCO UNO\nBANCO DOS");
  EXPECT_TRUE(d->Entrada(7).casillas[6]->isChecked());
  EXPECT_EQ(d->Entrada(36).especifique->text().toStdString(), "EUROS");
  EXPECT_EQ(d->txFaltan->text().toStdString(), "Faltan por responder: 35 de 39");

  // Nothing changed: Cancelar closes without asking.
  d->reject();
  EXPECT_FALSE(d->isVisible());
  EXPECT_TRUE(dialogos->Textos().empty());

  // Changed: Cancelar asks; No keeps the dialog and the typing, Sí drops them.
  d = Dialogo();
  d->Entrada(3).linea->setText(QStringLiteral("CC-123"));
  dialogos->Responde({false});
  d->reject();
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->Entrada(3).linea->text().toStdString(), "CC-123");
  dialogos->Responde({true});
  d->reject();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(dialogos->Textos(),
            std::vector<std::string>(2,
                                     "Hay cambios sin guardar en las respuestas del centro "
                                     "cambiario. ¿Desea descartarlos?"));
  EXPECT_EQ(Lee(Archivo()), sArchivo);
}

TEST_F(DlgRespuestasCC, ADamagedFileIsReplacedOnlyWhenTheUserSaysSo) {
  const std::string sDanado = "[RespuestasCC]\nP1=CASA\nP6=doce\n";
  carpeta.Escribe("RespuestasCC.ini", sDanado);
  // The dialog itself is not run by the tests: it closes as soon as it shows.
  QTimer::singleShot(0, [] {
    if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->done(0);
  });
  EXPECT_FALSE(MuestraRespuestasCC(nullptr));
  ASSERT_EQ(dialogos->Textos().size(), 1u);
  EXPECT_EQ(dialogos->Textos()[0],
            "El archivo de respuestas del centro cambiario tiene errores; se cargaron sólo las "
            "respuestas válidas y el archivo no se reemplazará sin preguntarle.\n" +
                Archivo().string() +
                "\n\nLínea 3: P6: Escriba un número entero mayor o igual a 0, sólo con dígitos "
                "(sin puntos, comas ni signos).");
  dialogos->Limpia();

  auto d = Dialogo();
  EXPECT_EQ(d->Entrada(1).linea->text().toStdString(), "CASA");
  EXPECT_TRUE(d->Entrada(6).linea->text().isEmpty());
  dialogos->Responde({false});
  EXPECT_FALSE(d->Guarda());
  EXPECT_EQ(Lee(Archivo()), sDanado);
  dialogos->Responde({true});
  EXPECT_TRUE(d->Guarda());
  const std::string sPregunta =
      "El archivo de respuestas tiene errores o no es un archivo de respuestas del centro "
      "cambiario:\n" +
      Archivo().string() +
      "\n\n¿Desea reemplazarlo con estas respuestas? Se guardará una copia del archivo actual "
      "con el nombre RespuestasCC.ini.anterior.";
  EXPECT_EQ(dialogos->Textos(), std::vector<std::string>(2, sPregunta));
  EXPECT_EQ(Lee(carpeta.Ruta() / "RespuestasCC.ini.anterior"), sDanado);
  EXPECT_TRUE(LeeArchivoRespuestasCC(Archivo()).Correcta());
}

TEST_F(DlgRespuestasCC, AProgramFolderThatCannotBeWrittenOffersTheUsersFolder) {
  const std::string sSinPermiso =
      "No se pueden guardar las respuestas en la carpeta del programa:\n"
      "No se pudo escribir el archivo " +
      Archivo().string();
  for (bool bAcepta : {false, true}) {
    SCOPED_TRACE(bAcepta);
    dialogos->Limpia();
    auto d = Dialogo();
    d->Entrada(3).linea->setText(QStringLiteral("CC-777"));
    dialogos->Responde({bAcepta});
    bool bGuardado = false;
    {
      TCarpetaSinEscritura sinEscritura(carpeta.Ruta());
      if (!sinEscritura.Efectiva()) GTEST_SKIP() << "the folder stays writable here";
      bGuardado = d->Guarda();
    }
    EXPECT_EQ(bGuardado, bAcepta);
    ASSERT_EQ(dialogos->Textos().size(), 1u);
    EXPECT_EQ(dialogos->Textos()[0].rfind(sSinPermiso + " (", 0), 0u) << dialogos->Textos()[0];
    EXPECT_NE(dialogos->Textos()[0].find("¿Desea guardarlas en su carpeta de configuración?\n" +
                                         ArchivoUsuario().string()),
              std::string::npos);
    EXPECT_FALSE(fs::exists(Archivo()));
    EXPECT_EQ(fs::exists(ArchivoUsuario()), bAcepta);
  }
  // The next opening reads them from there.
  EXPECT_EQ(RutaRespuestasCCEnUso(), ArchivoUsuario());
  ASSERT_NE(CargaRespuestasCC().respuestas.Respuesta(3), nullptr);
  EXPECT_EQ(CargaRespuestasCC().respuestas.Respuesta(3)->sTexto, "CC-777");
}

TEST_F(DlgRespuestasCC, TheCommandSitsLeftOfTheReportAndRestsDuringACommand) {
  PreparaCarpeta();
  guion->nombres = {"ANA"};
  TfrmPrincipal& frm = Ventana();
  MuestraYAcepta();
  EXPECT_EQ(frm.bnRespuestasCC->text().toStdString(), "Respuestas del centro cambiario…");
  EXPECT_EQ(frm.bnRespuestasCC->geometry(), QRect(312, 678, 190, 25));
  EXPECT_LT(frm.bnRespuestasCC->geometry().right(), frm.bnGenReporte->geometry().left());
  EXPECT_TRUE(frm.bnRespuestasCC->isEnabled());
  bool bDurante = true;
  guion->alGenerar = [&] { bDurante = frm.bnRespuestasCC->isEnabled(); };
  frm.edUsuario->setText(QStringLiteral("ADMIN"));
  frm.bnDetectaPEPs->click();
  EXPECT_TRUE(frm.bnRespuestasCC->isEnabled());

  // The confirmation tells how many answers are missing.
  carpeta.Escribe("RespuestasCC.ini", "[RespuestasCC]\nP1=CASA\nP9=NO\n");
  dialogos->Responde({true});
  frm.bnGenReporte->click();
  EXPECT_FALSE(bDurante);
  EXPECT_TRUE(frm.bnRespuestasCC->isEnabled());
  const std::string sConfirmacion = dialogos->Textos().at(0);
  const std::string sParrafo =
      "\r\r\nFaltan por responder 35 de las 39 preguntas del centro cambiario (botón "
      "\"Respuestas del centro cambiario…\"); en el cuestionario llevarán la respuesta (** El CC "
      "debe responder **).\r\r\n¿Ha seguido las indicaciones y desea continuar?";
  ASSERT_GT(sConfirmacion.size(), sParrafo.size());
  EXPECT_EQ(sConfirmacion.substr(sConfirmacion.size() - sParrafo.size()), sParrafo);
  const std::string sTodas = TextoConfirmacionReporte(0);
  EXPECT_EQ(sTodas.find("Falta"), std::string::npos);
  EXPECT_EQ(sTodas.substr(sTodas.size() - 69),
            "hubiera realizado.\r\r\n¿Ha seguido las indicaciones y desea continuar?");
  const std::string sUna = TextoConfirmacionReporte(1);
  EXPECT_NE(sUna.find("\r\r\nFalta por responder 1 de las 39 preguntas del centro cambiario"),
            std::string::npos);
}

// From the file to the PDF: typed texts at their places, options ticked, the rest waiting.
TEST_F(DlgRespuestasCC, TheReportCarriesTheTypedAnswers) {
  demo::OpcionesDemo opciones;
  opciones.carpeta = carpeta.Ruta();
  opciones.operaciones = 300;
  demo::GeneraDemo(opciones);
  carpeta.Escribe("RespuestasCC.ini",
                  "[RespuestasCC]\n"
                  "P1=CAMBIOS \"EL ÁGUILA\", S.A. DE C.V.\n"
                  "P2=CAG010203XY1\n"
                  "P7=CIUDAD DE MÉXICO | YUCATÁN\n"
                  "P9=NO\n"
                  "P17=BAJO\n"
                  "P18=SI\n"
                  "P27=ESPECIFIQUE SU PROPIO VALOR: EUROS\n"
                  "P30=SI\n"
                  "P31=BANCO UNO\\nBANCO DOS\n");
  const auto abridorAnterior = AsignaAbridorArchivos([](const std::string&) { return true; });
  TfrmPrincipal& frm = VentanaReal();
  MuestraYAcepta();
  frm.edUsuario->setText(QString::fromLatin1(demo::kClaveAdmin));
  frm.edPassw->setText(QString::fromLatin1(demo::kPasswordAdmin));
  frm.bnDetectaPEPs->click();
  dialogos->Responde({true});
  frm.bnGenReporte->click();
  AsignaAbridorArchivos(abridorAnterior);
  ASSERT_EQ(frm.txMensajes->text().toStdString(),
            "El reporte se generó correctamente. Evidencia: " +
                (carpeta.Ruta() / "CuestionarioOperatividad2020-evidencia.xlsx").string())
      << testing::PrintToString(dialogos->Textos());
  const std::string sPdf = TextoDelPdf(carpeta.Ruta() / "CuestionarioOperatividad2020.pdf");
  const std::string x = "X\u20DE ", vacio = "\u20DE ";
  for (const std::string& s : std::vector<std::string>{
           "CNBV). CAMBIOS \"EL ÁGUILA\", S.A. DE C.V. 2.",
           "con homoclave. CAG010203XY1 3.",
           vacio + "CHIAPAS " + vacio + "CHIHUAHUA " + x + "CIUDAD DE MÉXICO",
           vacio + "VERACRUZ DE IGNACIO DE LA LLAVE " + x + "YUCATÁN " + vacio + "ZACATECAS",
           "2019? " + vacio + "SI " + x + "NO ",
           "10. En su caso, ¿cuántas sucursales abrió durante 2019? NO APLICA 11.",
           vacio + "MEDIO " + x + "BAJO",
           x + "ESPECIFIQUE SU PROPIO VALOR: EUROS",
           "BANCO UNO BANCO DOS",
           "3. Número de registro otorgado por la CNBV para operar como centro cambiario. (** El "
           "CC "
           "debe responder **)",
       })
    EXPECT_NE(sPdf.find(s), std::string::npos) << s;
  // Nothing else is ticked: two states, NO, BAJO, SI of 18 and 30, the own value of 27.
  std::size_t nMarcas = 0;
  for (auto pos = sPdf.find(x); pos != std::string::npos; pos = sPdf.find(x, pos + 1)) ++nMarcas;
  EXPECT_EQ(nMarcas, 7u);
}

// A picture of the dialog for a look by eye (scripts/capture-window sets KV_CAPTURA_DIR).
TEST_F(DlgRespuestasCC, Captura) {
  if (std::getenv("KV_CAPTURA_DIR") == nullptr) GTEST_SKIP() << "KV_CAPTURA_DIR not set";
  carpeta.Escribe("RespuestasCC.ini",
                  "[RespuestasCC]\nP1=CAMBIOS \"EL ÁGUILA\", S.A. DE C.V.\nP2=CAG0102\n"
                  "P3=CC-0042\nP6=3\nP7=CIUDAD DE MÉXICO | JALISCO | YUCATÁN\nP8=1,200\nP9=NO\n");
  auto d = Dialogo();
  const QString sCarpeta = QString::fromLocal8Bit(std::getenv("KV_CAPTURA_DIR"));
  EXPECT_TRUE(d->grab().save(sCarpeta + QStringLiteral("/6-respuestas-cc.png"), "PNG"));
  d->Entrada(8).linea->setText(QStringLiteral("1,200"));
  d->scPreguntas->ensureWidgetVisible(d->Entrada(11).marco);
  QApplication::processEvents();
  EXPECT_TRUE(
      d->grab().save(sCarpeta + QStringLiteral("/7-respuestas-cc-dependientes.png"), "PNG"));
}

}  // namespace
}  // namespace kv
