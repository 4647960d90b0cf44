#pragma once
// Fixture of the window tests: a program folder of its own, the recording dialogs, the
// connection registry and a questionnaire that follows a script and records its calls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/cuestionario_siti.h"
#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/inicio.h"
#include "app/textos.h"
#include "data/colector_conxs.h"
#include "diag/programa.h"
#include "diag/utilerias.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"
#include "tools/kavori-demo/generador.h"

namespace kv {

// The report's confirmation in a folder without the house's own answers: the instructions
// with a paragraph on the 39 missing answers before their closing question.
inline std::string ConfirmacionSinRespuestasCC() {
  std::string s = textos_app::kIndicaciones;
  const std::string sPregunta = "¿Ha seguido las indicaciones y desea continuar?";
  s.insert(s.size() - sPregunta.size(),
           "Faltan por responder 39 de las 39 preguntas del centro cambiario (botón "
           "\"Respuestas del centro cambiario…\"); en el cuestionario llevarán la respuesta (** "
           "El CC debe responder **).\r\r\n");
  return s;
}

// The text of a PDF as pdftotext lays it out, blanks squeezed to one space.
inline std::string TextoDelPdf(const std::filesystem::path& pdf) {
  const std::string sOrden = "pdftotext -enc UTF-8 '" + pdf.string() + "' - 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> tubo(popen(sOrden.c_str(), "r"), pclose);
  std::string sTexto;
  if (!tubo) return sTexto;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, tubo.get())) > 0;) sTexto.append(buf, n);
  std::string sPlano;
  for (char c : sTexto) {
    const bool bBlanco = std::isspace(static_cast<unsigned char>(c)) != 0;
    if (bBlanco && (sPlano.empty() || sPlano.back() == ' ')) continue;
    sPlano += bBlanco ? ' ' : c;
  }
  return sPlano;
}

// What the scripted questionnaire answers and what it saw.
struct TGuionCuestionario {
  bool bUsuariosConectados = false;
  bool bAcceso = true;
  bool bDetecta = true;
  bool bGenera = true;
  bool bLanza = false;               // DetectaPEPs throws
  std::function<void()> alGenerar;   // run inside GeneraReporte, before it reads the ticks
  std::vector<std::string> nombres;  // rows the detection writes
  int nCreados = 0;
  std::string llamadas;
  std::string sUsuario, sPassw;
  double dTCambio = 0;
  int nNumEmp = 0;
  db::Connection* Conector = nullptr;
  std::vector<bool> marcasAlGenerar;  // EsPEP of each row when the report read the table
  bool bDetectaHabilitadoDurante = true;
  bool bReporteHabilitadoDurante = true;
};

class TCuestionarioGuion : public IRepCuestionarioCNBV {
 public:
  TCuestionarioGuion(TGuionCuestionario& g, TfrmPrincipal*& frm) : g_(g), frm_(frm) {}
  bool UsuariosConectados() override {
    g_.llamadas += "UsuariosConectados ";
    return g_.bUsuariosConectados;
  }
  bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                    bool bSoloAdmins) override {
    g_.llamadas += "ValidaAcceso ";
    g_.sUsuario = sUsuario;
    g_.sPassw = sPassw;
    EXPECT_TRUE(bSoloAdmins);
    return g_.bAcceso;
  }
  bool DetectaPEPs(TTablaPEPs& vtPEPS) override {
    g_.llamadas += "DetectaPEPs ";
    Botones();
    if (g_.bLanza) throw std::runtime_error("falla de prueba");
    vtPEPS.Clear();
    if (!g_.bDetecta) return false;
    int n = 0;
    for (const auto& sNombre : g_.nombres) {
      vtPEPS.Append();
      vtPEPS.SetField("IdPEP", ++n);
      vtPEPS.SetField("ClaveCliente", "C" + std::to_string(n));
      vtPEPS.SetField("Nombre", sNombre);
      vtPEPS.SetField("EsPEP", 0);
      vtPEPS.Post();
    }
    return true;
  }
  bool GeneraReporte(TTablaPEPs& vtPEPS) override {
    g_.llamadas += "GeneraReporte ";
    Botones();
    if (g_.alGenerar) g_.alGenerar();
    g_.marcasAlGenerar.clear();
    for (std::size_t i = 0; i < vtPEPS.RecordCount(); ++i)
      g_.marcasAlGenerar.push_back(vtPEPS.Fila(i).EsPEP.value_or(false));
    return g_.bGenera;
  }

 private:
  void Botones() {
    g_.bDetectaHabilitadoDurante = frm_->bnDetectaPEPs->isEnabled();
    g_.bReporteHabilitadoDurante = frm_->bnGenReporte->isEnabled();
  }
  TGuionCuestionario& g_;
  TfrmPrincipal*& frm_;
};

class VentanaPrueba : public ::testing::Test {
 protected:
  void SetUp() override {
    AseguraAplicacionQt();
    RegistraFuentes();
    FijaCarpetaPrograma(carpeta.Ruta().string());
    ColectorConexiones = std::make_shared<TColectorConxs>();
  }
  void TearDown() override {
    frm_.reset();
    ColectorConexiones.reset();
    FijaCarpetaPrograma(std::nullopt);
    PonCursorNormal();
  }

  TfrmPrincipal& Ventana() {
    if (!frm_) VentanaNueva();
    return *frm_;
  }
  TfrmPrincipal& VentanaNueva() {
    frm_.reset();
    ColectorConexiones = std::make_shared<TColectorConxs>();
    auto g = guion;
    frm_ = std::make_unique<TfrmPrincipal>(
        dm,
        [g, this](db::Connection* Conector, std::shared_ptr<IMensajero>, double dTCambio,
                  int nNumEmp) -> std::unique_ptr<IRepCuestionarioCNBV> {
          ++g->nCreados;
          g->Conector = Conector;
          g->dTCambio = dTCambio;
          g->nNumEmp = nNumEmp;
          return std::make_unique<TCuestionarioGuion>(*g, frmCrudo_);
        });
    frmCrudo_ = frm_.get();
    return *frm_;
  }
  // The window with the program's own questionnaire (the SITI 2020 survey).
  TfrmPrincipal& VentanaReal() {
    frm_.reset();
    ColectorConexiones = std::make_shared<TColectorConxs>();
    frm_ = std::make_unique<TfrmPrincipal>(dm, DameFabricaSITI2020());
    frmCrudo_ = frm_.get();
    return *frm_;
  }
  // Shows the window and accepts the instructions.
  void MuestraYAcepta() {
    dialogos->Responde({true});
    Ventana().show();
    QApplication::processEvents();
    dialogos->Limpia();
  }

  // A small demo database as DataBase/Kavori.mdb of the folder, without Kavori.INI.
  static void CopiaBD(TCarpetaTemporal& destino) {
    demo::OpcionesDemo opciones;
    opciones.carpeta = destino.Ruta();
    opciones.operaciones = 300;
    demo::GeneraDemo(opciones);
    std::filesystem::remove(destino.Ruta() / "Kavori.INI");
  }
  // The program folder with a database and company 1.
  void PreparaCarpeta() {
    CopiaBD(carpeta);
    carpeta.Escribe("Kavori.INI", "[Control]\r\nEmpresaActiva=1\r\n");
  }

  TCarpetaTemporal carpeta;
  TDialogosDePrueba dialogos;
  TdmMain dm;
  std::shared_ptr<TGuionCuestionario> guion = std::make_shared<TGuionCuestionario>();

 private:
  std::unique_ptr<TfrmPrincipal> frm_;
  TfrmPrincipal* frmCrudo_ = nullptr;
};

}  // namespace kv
