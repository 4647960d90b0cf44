// The questionnaire document from start to end: steps, status texts, results and which
// files stay, on the successful path and on every way out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "diag/imensajero.h"
#include "document/error_doc.h"
#include "document/genera_cuestionario.h"
#include "tests/document/word_paquetes.h"
#include "tests/support/dialogos_grabados.h"

namespace kv {
namespace {

using namespace prueba;
namespace fs = std::filesystem;

class TMensajeroGrabado : public IMensajero {
 public:
  void MsjEnTx(const std::string& s) override { textos.push_back(s); }
  void MsjTxTemp(const std::string& s) override { textos.push_back("temp:" + s); }
  void MsjTxEspera(const std::string& s, bool) override { textos.push_back("espera:" + s); }
  void CampoObligatorio(QLabel*, QWidget*) override {}
  void SetTxLabel(QLabel*) override {}
  void SetDefColorAlerta(bool) override {}
  bool GetDefColorAlerta() const override { return false; }
  std::vector<std::string> textos;
};

const std::string kPlantilla = "PlantillaCuestionarioOperatividad2020.dotx";
const std::string kDocumento = "CuestionarioOperatividad2020.docx";

// A three-question form, its bytes, and what the run saw.
struct TCorrida {
  TProgramaDePrueba programa;
  TDialogosDePrueba dialogos;
  TMensajeroGrabado mensajero;
  std::string sBytes;
  std::vector<int> preguntadas;
  std::unique_ptr<TDocumentoWord> documento = std::make_unique<TDocumentoWord>();

  explicit TCorrida(const std::string& sConversion = "printf '%%PDF-1.4' > \"$outdir/$base.pdf\"") {
    TPaqueteWord paquete;
    paquete.encabezados["header1.xml"] = Parrafo(Texto("_") + Texto("NombreCC") + Texto("_"));
    for (int i = 1; i <= 3; ++i)
      paquete.sCuerpo += Parrafo(Texto("P" + std::to_string(i))) +
                         Parrafo(Marcador(i, "bkm_preg_" + std::to_string(i)));
    paquete.sCuerpo += SeccionFinal("<w:headerReference w:type=\"default\" r:id=\"header1\"/>");
    paquete.Escribe(programa.Ruta("fuente.dotx"));
    std::ifstream in(programa.Ruta("fuente.dotx"), std::ios::binary);
    sBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(programa.Ruta("fuente.dotx"));
    documento->Convertidor().sPrograma =
        ConvertidorFalso(programa.Carpeta(), "7.4.7.2", sConversion);
  }

  TFuentesCuestionario Fuentes(int nTotal, int nFalla = 0) {
    TFuentesCuestionario f;
    f.nTotalPreguntas = nTotal;
    f.DameRazonSocial = [] { return std::string("CASA"); };
    f.RespondePregunta = [this, nFalla](int n, std::string& s) {
      preguntadas.push_back(n);
      s = n == nFalla ? "** E R R O R **" : "Respuesta: " + std::to_string(n);
      return n != nFalla;
    };
    f.plantilla = {reinterpret_cast<const unsigned char*>(sBytes.data()), sBytes.size()};
    f.sNombrePlantilla = kPlantilla;
    f.sNombreDocumento = kDocumento;
    return f;
  }

  // The folder's files other than the stand-in converter.
  std::vector<std::string> Archivos() const {
    std::vector<std::string> r = programa.Archivos();
    std::erase_if(r, [](const std::string& s) { return s.rfind("convertidor-", 0) == 0; });
    return r;
  }
};

TEST(WordGeneraCuestionario, UnaCorridaCompletaDejaSoloElPdf) {
  TCorrida corrida;
  // The stand-in converter proves the steps; the real export is tested apart.
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)));
  EXPECT_EQ(corrida.mensajero.textos,
            (std::vector<std::string>{"espera:Iniciando...", "Por favor espere... 33%",
                                      "Por favor espere... 66%", "espera:Por favor espere... 100%",
                                      "espera:Preparando reporte..."}));
  EXPECT_EQ(corrida.preguntadas, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(corrida.Archivos(), std::vector<std::string>{"CuestionarioOperatividad2020.pdf"});
  EXPECT_EQ(corrida.programa.abiertos,
            std::vector<std::string>{corrida.programa.Ruta("CuestionarioOperatividad2020.pdf")});
  EXPECT_FALSE(corrida.documento) << "the document object is released";
}

TEST(WordGeneraCuestionario, PorcentajesCon212Preguntas) {
  TCorrida corrida;
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(212)));
  const auto& t = corrida.mensajero.textos;
  ASSERT_EQ(t.size(), 214u);
  EXPECT_EQ(t[1], "Por favor espere... 0%");
  EXPECT_EQ(t[106], "Por favor espere... 50%");
  EXPECT_EQ(t[211], "Por favor espere... 99%");
  EXPECT_EQ(t[212], "espera:Por favor espere... 100%");
}

TEST(WordGeneraCuestionario, SinPreguntasIgualGuardaYExporta) {
  TCorrida corrida;
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(0)));
  EXPECT_TRUE(corrida.preguntadas.empty());
  EXPECT_EQ(corrida.Archivos(), std::vector<std::string>{"CuestionarioOperatividad2020.pdf"});
}

TEST(WordGeneraCuestionario, UnaPreguntaFallidaDetieneTodoSinDejarArchivos) {
  TCorrida corrida;
  EXPECT_FALSE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3, 2)));
  EXPECT_EQ(corrida.preguntadas, (std::vector<int>{1, 2}));
  EXPECT_EQ(corrida.mensajero.textos.back(), "espera:Error...");
  EXPECT_TRUE(corrida.Archivos().empty());
  EXPECT_TRUE(corrida.programa.abiertos.empty());
  EXPECT_FALSE(corrida.documento);
}

TEST(WordGeneraCuestionario, UnaExportacionFallidaNoDejaArchivos) {
  TCorrida corrida(":");  // the converter writes nothing
  EXPECT_FALSE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)));
  EXPECT_TRUE(corrida.Archivos().empty());
  EXPECT_TRUE(corrida.programa.abiertos.empty());
}

TEST(WordGeneraCuestionario, UnaPlantillaInservibleMuestraElDialogoYSeBorra) {
  TCorrida corrida;
  corrida.sBytes = "no es un paquete";
  EXPECT_FALSE(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)));
  EXPECT_EQ(corrida.dialogos->Dialogos().size(), 1u);
  EXPECT_TRUE(corrida.preguntadas.empty());
  EXPECT_TRUE(corrida.Archivos().empty());
}

TEST(WordGeneraCuestionario, UnaCarpetaSinEscrituraLlegaAlLlamadorSinDejarNada) {
  TCorrida corrida;
  FijaCarpetaPrograma(corrida.programa.Ruta("no_existe"));
  EXPECT_THROW(GeneraCuestionario(corrida.documento, corrida.mensajero, corrida.Fuentes(3)),
               EDocumentoWord);
  EXPECT_FALSE(corrida.documento);
  EXPECT_TRUE(corrida.Archivos().empty());
}

TEST(WordGeneraCuestionario, UnErrorAlResponderLlegaAlLlamadorTrasLaLimpieza) {
  TCorrida corrida;
  TFuentesCuestionario fuentes = corrida.Fuentes(3);
  fuentes.RespondePregunta = [](int, std::string&) -> bool { throw std::runtime_error("falla"); };
  EXPECT_THROW(GeneraCuestionario(corrida.documento, corrida.mensajero, fuentes),
               std::runtime_error);
  EXPECT_FALSE(corrida.documento);
  EXPECT_TRUE(corrida.Archivos().empty());
}

TEST(WordGeneraCuestionario, ElNombreSeEscribeTalCual) {
  TCorrida corrida;
  TFuentesCuestionario fuentes = corrida.Fuentes(1);
  fuentes.DameRazonSocial = [] { return std::string("CASA ^ CAMBIO ^p & <SA>"); };
  std::string sEncabezado;
  // The saved .docx is removed at the end: look at it when the PDF is opened.
  AsignaAbridorArchivos([&](const std::string&) {
    sEncabezado = TextoDeParte(corrida.programa.Ruta(kDocumento), "word/header1.xml");
    return true;
  });
  EXPECT_TRUE(GeneraCuestionario(corrida.documento, corrida.mensajero, fuentes));
  EXPECT_EQ(sEncabezado, "CASA ^ CAMBIO ^p & <SA>");
}

}  // namespace
}  // namespace kv
