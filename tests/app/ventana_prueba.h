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
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/cuestionario_siti.h"
#include "app/dm_main.h"
#include "app/frm_principal.h"
#include "app/inicio.h"
#include "app/textos.h"
#include "data/colector_conxs.h"
#include "diag/programa.h"
#include "diag/qt/utilerias.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/dialogos_grabados.h"
#include "tools/kavori-demo/generador.h"

namespace kv {

// What the window says, by situation, written out as the user reads it.
inline const std::map<std::string, std::string, std::less<>> kMensajes = {
    {"falta el usuario", "Por favor, escriba su usuario (Administrador)."},
    {"falta el tipo de cambio", "Por favor, escriba el tipo de cambio."},
    {"tipo de cambio no positivo", "El tipo de cambio debe ser diferente a cero."},
    {"sin número de empresa", "No se pudo extraer el Número de la Empresa predeterminada."},
    {"usuario conectado", "Hay un usuario conectado a la BD. Cierre Kavori antes de continuar."},
    {"acceso negado (caja)",
     "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador."},
    {"acceso negado (estado)",
     "La contraseña es incorrecta o, el usuario no tiene permisos de administrador."},
    {"conectando", "Conectando con la BD..."},
    {"detección terminada", "La detección de PEPs ha finalizado."},
    {"fuera de la carpeta del Kavori",
     "Error: Este programa debe encontrarse en la carpeta del Kavori."},
    {"proceso cancelado", "Proceso cancelado."},
    {"reporte generado", "El reporte se generó correctamente."},
    {"reporte fallido", "No fue posible generar el reporte. Llame a Soporte Técnico."},
    {"indicaciones",
     "Para responder correctamente el cuestionario, es muy importante que por favor siga estas "
     "indicaciones:\r\r\n1.- Haga un respaldo de seguridad de la Base de Datos del "
     "Kavori.\r\r\n2.- Asigne el Símbolo a todas las divisas (Catálogo de \"Divisas para "
     "Compra/Venta\"; en Kavori: Menú principal -> Archivo -> Opción 4 ). Las Divisas sin Símbolo "
     "podrían ser ignoradas y causar resultados erróneos.\r\r\n3.- Asigne las Claves de la "
     "Actividad a  todos los Sectores (Catálogo de \"Ocupaciones, Profesiones, Actividades o Giros "
     "del Negocio\"; en Kavori:  Menú principal -> Usuarios -> Opción 2). Cerciórese que la clave "
     "corresponda correctamente con el Sector, de lo contrario podría causar resultados "
     "erróneos.\r\r\n4.- Cierre el programa Kavori. \r\r\n5.- Instale y ejecute este programa en "
     "la carpeta raíz del Kavori (Generalmente en C:\\Kavori Software\\). \r\r\n6.- Si tiene "
     "varias computadoras con Kavori en el mismo establecimiento, instale este programa en la "
     "computadora principal (Servidor).\r\r\n7.- Si tiene varias sucursales, utilice este programa "
     "para generar un reporte por sucursal. Posteriormente analice la información para condensarla "
     "manualmente en un solo reporte.\r\r\n8.- El cuestionario tiene preguntas que NO son posibles "
     "de contestar por medio de la Base de Datos del Kavori, por lo que deberá contestarlas a "
     "criterio y de acuerdo a la operatividad de su Centro Cambiario. Estas preguntas traen la "
     "respuesta: (** El CC debe responder **).\r\r\nNota 1: Considere los datos que están entre "
     "paréntesis para analizar y condensar la información en caso de tener varias sucursales. No "
     "debe escribir estos datos en el cuestionario, son sólo datos informativos para su "
     "análisis.\r\r\nNota 2: En caso de no utilizar el sistema Kavori de forma automática para la "
     "detección de PEPs, los resultados podrían no ser correctos. Deberá realizar los cálculos "
     "correspondientes en cada respuesta donde intervengan PEPs conforme a los dictámenes que "
     "hubiera realizado.\r\r\n¿Ha seguido las indicaciones y desea continuar?"},
};
// The message of a situation of the table.
inline const std::string& Dice(std::string_view sSituacion) {
  const auto it = kMensajes.find(sSituacion);
  if (it == kMensajes.end()) throw std::out_of_range(std::string(sSituacion));
  return it->second;
}

// The report's confirmation in a folder without the house's own answers: the instructions
// with a paragraph on the 39 missing answers before their closing question.
inline std::string ConfirmacionSinRespuestasCC() {
  std::string s = Dice("indicaciones");
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
  std::string sCausa;                // what DameCausaFalla tells
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
      g_.marcasAlGenerar.push_back(vtPEPS.Row(i).EsPEP.value_or(false));
    return g_.bGenera;
  }
  std::string DameCausaFalla() const override { return g_.sCausa; }

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
