#include "engine/respuestas_cc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "diag/texto.h"
#include "engine/textos.h"

namespace kv {

namespace fs = std::filesystem;
using namespace textos_motor;

namespace {

using T = TTipoRespuestaCC;

// Kind of entry of each question the house answers, and the answer that makes a dependent
// question apply: the follow-up questions apply only after a "SI".
constexpr TPreguntaCC kPreguntasCC[] = {
    {1, T::Texto, 0, ""},
    {2, T::RFC, 0, ""},
    {3, T::Texto, 0, ""},
    {4, T::Texto, 0, ""},
    {6, T::Entero, 0, ""},
    {7, T::Varias, 0, ""},
    {8, T::Entero, 0, ""},
    {9, T::Una, 0, ""},
    {10, T::Entero, 9, "SI"},
    {11, T::Varias, 9, "SI"},
    {12, T::Entero, 0, ""},
    {13, T::Una, 0, ""},
    {14, T::Entero, 13, "SI"},
    {15, T::Una, 0, ""},
    {16, T::Entero, 15, "SI"},
    {17, T::Una, 0, ""},
    {18, T::Una, 0, ""},
    {19, T::Varias, 18, "SI"},
    {20, T::Una, 0, ""},
    {21, T::Varias, 20, "SI"},
    {22, T::Entero, 18, "SI"},
    {23, T::Entero, 18, "SI"},
    {24, T::Entero, 18, "SI"},
    {25, T::Varias, 18, "SI"},
    {26, T::Monto, 18, "SI"},
    {27, T::Una, 18, "SI"},
    {28, T::Una, 0, ""},
    {29, T::Entero, 28, "SI"},
    {30, T::Una, 0, ""},
    {31, T::TextoLargo, 30, "SI"},
    {32, T::TextoLargo, 30, "SI"},
    {33, T::Entero, 30, "SI"},
    {34, T::Monto, 30, "SI"},
    {35, T::Entero, 28, "SI"},
    {36, T::Una, 28, "SI"},
    {209, T::Una, 0, ""},
    {210, T::TextoLargo, 209, "SI"},
    {211, T::Una, 0, ""},
    {212, T::Entero, 0, ""},
};

bool EsLista(TTipoRespuestaCC tipo) {
  return tipo == T::Una || tipo == T::Varias;
}

bool SoloDigitos(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The characters of a UTF-8 text, each as its own string (the RFC may hold "Ñ").
std::vector<std::string> Caracteres(const std::string& s) {
  std::vector<std::string> r;
  for (std::size_t i = 0; i < s.size();) {
    std::size_t n = 1;
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 0xF0)
      n = 4;
    else if (c >= 0xE0)
      n = 3;
    else if (c >= 0xC0)
      n = 2;
    r.push_back(s.substr(i, n));
    i += n;
  }
  return r;
}

// A legal person's RFC: three letters, the date of incorporation (YYMMDD), a homoclave of
// three letters or digits.
bool EsRFCPersonaMoral(const std::string& sRFC) {
  const auto c = Caracteres(sRFC);
  if (c.size() != 12) return false;
  const auto letra = [](const std::string& x) {
    return x == "Ñ" || x == "&" || (x.size() == 1 && x[0] >= 'A' && x[0] <= 'Z');
  };
  const auto digito = [](const std::string& x) {
    return x.size() == 1 && x[0] >= '0' && x[0] <= '9';
  };
  for (int i = 0; i < 3; ++i)
    if (!letra(c[i])) return false;
  std::string sFecha;
  for (int i = 3; i < 9; ++i) {
    if (!digito(c[i])) return false;
    sFecha += c[i];
  }
  const int nMes = std::stoi(sFecha.substr(2, 2));
  const int nDia = std::stoi(sFecha.substr(4, 2));
  if (nMes < 1 || nMes > 12 || nDia < 1 || nDia > 31) return false;
  for (int i = 9; i < 12; ++i)
    if (!(c[i].size() == 1 && (letra(c[i]) || digito(c[i])))) return false;
  return true;
}

bool EsUtf8Valido(const std::string& s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == 0) return false;  // a text file holds no NUL
    std::size_t n = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= s.size()) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto x = static_cast<unsigned char>(s[i + k]);
      if ((x & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (x & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

const TOpcionCuestionario* BuscaOpcion(int nPregunta, const std::string& sNombre) {
  for (const auto& o : ContenidoPregunta(nPregunta).opciones)
    if (sNombre == o.sTexto) return &o;
  return nullptr;
}

int IndiceOpcion(int nPregunta, const std::string& sNombre) {
  const auto opciones = ContenidoPregunta(nPregunta).opciones;
  for (std::size_t i = 0; i < opciones.size(); ++i)
    if (sNombre == opciones[i].sTexto) return static_cast<int>(i);
  return -1;
}

std::string Clave(int nPregunta) {
  return "P" + std::to_string(nPregunta);
}

// Escapes of the file: "\\" a backslash, "\n" a line break, "\t" a tab and, inside a list,
// "\|" a bar that does not separate options.
std::string Escapa(const std::string& s, bool bEnLista) {
  std::string r;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\\')
      r += "\\\\";
    else if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
      continue;
    else if (c == '\n' || c == '\r')
      r += "\\n";
    else if (c == '\t')
      r += "\\t";
    else if (c == '|' && bEnLista)
      r += "\\|";
    else
      r += c;
  }
  return r;
}

// Splits a value at its unescaped bars (only for lists) and undoes the escapes. An unknown
// escape is kept as written (a hand-typed backslash).
std::vector<std::string> Desescapa(const std::string& s, bool bEnLista) {
  std::vector<std::string> piezas(1);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '|' && bEnLista) {
      piezas.emplace_back();
    } else if (c == '\\' && i + 1 < s.size()) {
      const char k = s[++i];
      if (k == '\\')
        piezas.back() += '\\';
      else if (k == 'n')
        piezas.back() += '\n';
      else if (k == 't')
        piezas.back() += '\t';
      else if (k == '|')
        piezas.back() += '|';
      else
        piezas.back() += std::string{'\\', k};
    } else {
      piezas.back() += c;
    }
  }
  return piezas;
}

std::string Minusculas(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The value of the file as the answer of question n.
TRespuestaCC AnalizaValor(const TPreguntaCC& p, const std::string& sValor) {
  TRespuestaCC r;
  if (!EsLista(p.tipo)) {
    r.sTexto = Recorta(Desescapa(sValor, false).front());
    return r;
  }
  for (const std::string& sPieza : Desescapa(sValor, true)) {
    const std::string s = Recorta(sPieza);
    if (s.empty()) continue;
    // The option with a box carries the box's text after its name.
    bool bConCaja = false;
    for (const auto& o : ContenidoPregunta(p.nNumero).opciones) {
      const std::string sNombre = o.sTexto;
      if (o.bConCaja && s.compare(0, sNombre.size(), sNombre) == 0) {
        r.opciones.push_back(sNombre);
        r.sEspecifique = Recorta(s.substr(sNombre.size()));
        bConCaja = true;
        break;
      }
    }
    if (!bConCaja) r.opciones.push_back(s);
  }
  return r;
}

std::string LeeBytes(const fs::path& ruta, bool& bOk) {
  std::ifstream f(ruta, std::ios::binary);
  bOk = static_cast<bool>(f);
  if (!bOk) return {};
  std::ostringstream s;
  s << f.rdbuf();
  bOk = !f.bad();
  return s.str();
}

bool EsFaltaDePermiso(int nError) {
  return nError == EACCES || nError == EPERM || nError == EROFS;
}

}  // namespace

std::span<const TPreguntaCC> PreguntasCC() {
  return kPreguntasCC;
}

const TPreguntaCC* BuscaPreguntaCC(int nPregunta) {
  for (const auto& p : kPreguntasCC)
    if (p.nNumero == nPregunta) return &p;
  return nullptr;
}

const TPreguntaCuestionario& ContenidoPregunta(int nPregunta) {
  return PreguntasCuestionario()[static_cast<std::size_t>(nPregunta - 1)];
}

const TRespuestaCC* TRespuestasCC::Respuesta(int nPregunta) const {
  const auto it = F_Respuestas.find(nPregunta);
  return it == F_Respuestas.end() ? nullptr : &it->second;
}

void TRespuestasCC::Fija(int nPregunta, TRespuestaCC respuesta) {
  if (respuesta.Vacia())
    F_Respuestas.erase(nPregunta);
  else
    F_Respuestas[nPregunta] = std::move(respuesta);
}

bool TRespuestasCC::Aplica(int nPregunta) const {
  const TPreguntaCC* p = BuscaPreguntaCC(nPregunta);
  if (p == nullptr || p->nDependeDe == 0) return true;
  if (Estado(p->nDependeDe) != TEstadoPreguntaCC::Contestada) return false;
  const TRespuestaCC* r = Respuesta(p->nDependeDe);
  return std::find(r->opciones.begin(), r->opciones.end(), p->sSiAplica) != r->opciones.end();
}

TEstadoPreguntaCC TRespuestasCC::Estado(int nPregunta) const {
  const TPreguntaCC* p = BuscaPreguntaCC(nPregunta);
  if (p != nullptr && p->nDependeDe != 0) {
    // Undecided while the question it depends on is; otherwise that answer decides.
    const TEstadoPreguntaCC control = Estado(p->nDependeDe);
    if (control == TEstadoPreguntaCC::Pendiente) return TEstadoPreguntaCC::Pendiente;
    if (!Aplica(nPregunta)) return TEstadoPreguntaCC::NoAplica;
  }
  return Respuesta(nPregunta) != nullptr ? TEstadoPreguntaCC::Contestada
                                         : TEstadoPreguntaCC::Pendiente;
}

int TRespuestasCC::Pendientes() const {
  int n = 0;
  for (const auto& p : kPreguntasCC)
    if (Estado(p.nNumero) == TEstadoPreguntaCC::Pendiente) ++n;
  return n;
}

std::string ValidaRespuestaCC(int nPregunta, const TRespuestaCC& r) {
  const TPreguntaCC* p = BuscaPreguntaCC(nPregunta);
  if (p == nullptr) return kPreguntaNoEsDelCC;
  if (r.Vacia()) return "";
  switch (p->tipo) {
    case T::Texto:
    case T::TextoLargo:
    case T::RFC:
      return r.opciones.empty() ? "" : kNoEsLista;
    case T::Entero:
      return SoloDigitos(r.sTexto) ? "" : kNoEsEntero;
    case T::Monto: {
      const auto punto = r.sTexto.find('.');
      const std::string sEnteros = r.sTexto.substr(0, punto);
      const std::string sDecimales = punto == std::string::npos ? "0" : r.sTexto.substr(punto + 1);
      return SoloDigitos(sEnteros) && SoloDigitos(sDecimales) && sDecimales.size() <= 2
                 ? ""
                 : kNoEsMonto;
    }
    case T::Una:
    case T::Varias:
      break;
  }
  if (!r.sTexto.empty()) return kListaSinTexto;
  if (p->tipo == T::Una && r.opciones.size() != 1) return kSoloUnaOpcion;
  int nAnterior = -1;
  bool bConCaja = false;
  for (const auto& sOpcion : r.opciones) {
    const int i = IndiceOpcion(nPregunta, sOpcion);
    if (i < 0) return kOpcionDesconocida + sOpcion;
    if (i <= nAnterior) return kOpcionRepetida + sOpcion;
    nAnterior = i;
    bConCaja = bConCaja || BuscaOpcion(nPregunta, sOpcion)->bConCaja;
  }
  if (bConCaja && r.sEspecifique.empty()) return kFaltaEspecifique;
  if (!bConCaja && !r.sEspecifique.empty()) return kEspecifiqueSinOpcion;
  return "";
}

std::string AvisoRespuestaCC(int nPregunta, const TRespuestaCC& r) {
  const TPreguntaCC* p = BuscaPreguntaCC(nPregunta);
  if (p == nullptr || p->tipo != T::RFC || r.sTexto.empty() || EsRFCPersonaMoral(r.sTexto))
    return "";
  return kAvisoRFC;
}

std::optional<std::string> TextoRespuestaCC(const TRespuestasCC& respuestas, int nPregunta) {
  switch (respuestas.Estado(nPregunta)) {
    case TEstadoPreguntaCC::Pendiente:
      return std::nullopt;
    case TEstadoPreguntaCC::NoAplica:
      return std::string(kNoAplica);
    case TEstadoPreguntaCC::Contestada:
      break;
  }
  const TRespuestaCC& r = *respuestas.Respuesta(nPregunta);
  if (r.opciones.empty()) return r.sTexto;
  std::string s;
  for (const auto& sOpcion : r.opciones) {
    if (!s.empty()) s += "; ";
    s += sOpcion;
    if (BuscaOpcion(nPregunta, sOpcion) != nullptr && BuscaOpcion(nPregunta, sOpcion)->bConCaja)
      s += " " + r.sEspecifique;
  }
  return s;
}

std::optional<std::string> TextoEnMarcadorCC(const TRespuestasCC& respuestas, int nPregunta) {
  const TPreguntaCC* p = BuscaPreguntaCC(nPregunta);
  if (p != nullptr && EsLista(p->tipo) &&
      respuestas.Estado(nPregunta) == TEstadoPreguntaCC::Contestada)
    return std::string();
  return TextoRespuestaCC(respuestas, nPregunta);
}

TMarcasOpciones MarcasRespuestaCC(const TRespuestasCC& respuestas, int nPregunta) {
  TMarcasOpciones marcas;
  const TPreguntaCC* p = BuscaPreguntaCC(nPregunta);
  if (p == nullptr || !EsLista(p->tipo) ||
      respuestas.Estado(nPregunta) != TEstadoPreguntaCC::Contestada)
    return marcas;
  const TRespuestaCC& r = *respuestas.Respuesta(nPregunta);
  for (const auto& sOpcion : r.opciones) {
    const int i = IndiceOpcion(nPregunta, sOpcion);
    if (i < 0) continue;
    marcas.opciones.push_back(i);
    if (BuscaOpcion(nPregunta, sOpcion)->bConCaja) {
      marcas.nCaja = i;
      marcas.sCaja = r.sEspecifique;
    }
  }
  return marcas;
}

std::string EscribeTextoRespuestasCC(const TRespuestasCC& respuestas) {
  std::string s = kEncabezadoArchivoCC;
  s += "[RespuestasCC]\n";
  for (const auto& p : kPreguntasCC) {
    s += Clave(p.nNumero) + "=";
    if (const TRespuestaCC* r = respuestas.Respuesta(p.nNumero)) {
      if (!EsLista(p.tipo)) {
        s += Escapa(r->sTexto, false);
      } else {
        std::string sLista;
        for (const auto& sOpcion : r->opciones) {
          if (!sLista.empty()) sLista += " | ";
          sLista += Escapa(sOpcion, true);
          const TOpcionCuestionario* o = BuscaOpcion(p.nNumero, sOpcion);
          if (o != nullptr && o->bConCaja) sLista += " " + Escapa(r->sEspecifique, true);
        }
        s += sLista;
      }
    }
    s += "\n";
  }
  return s;
}

TLecturaRespuestasCC LeeTextoRespuestasCC(const std::string& sTexto) {
  TLecturaRespuestasCC lectura;
  lectura.bExiste = true;
  std::string s = sTexto;
  if (s.rfind("\xEF\xBB\xBF", 0) == 0) s.erase(0, 3);
  if (!EsUtf8Valido(s)) {
    lectura.bAjeno = true;
    lectura.errores.push_back(kArchivoNoUtf8);
    return lectura;
  }
  std::istringstream entrada(s);
  std::string sLinea;
  bool bSeccion = false, bEnSeccion = false;
  std::map<int, int> vistas;  // question -> line where it was given
  for (int nLinea = 1; std::getline(entrada, sLinea); ++nLinea) {
    const std::string l = Recorta(sLinea);
    if (l.empty() || l[0] == ';' || l[0] == '#') continue;
    const std::string sDonde = kLinea + std::to_string(nLinea) + ": ";
    if (l.front() == '[') {
      bEnSeccion = l.back() == ']' &&
                   Minusculas(Recorta(l.substr(1, l.size() - 2))) == Minusculas("RespuestasCC");
      bSeccion = bSeccion || bEnSeccion;
      if (!bEnSeccion) lectura.errores.push_back(sDonde + kSeccionAjena + l);
      continue;
    }
    if (!bEnSeccion) {
      lectura.errores.push_back(sDonde + kLineaFueraDeSeccion);
      continue;
    }
    const auto igual = l.find('=');
    const std::string sClave = Recorta(l.substr(0, igual));
    const TPreguntaCC* p = nullptr;
    if (igual != std::string::npos && sClave.size() > 1 && (sClave[0] == 'P' || sClave[0] == 'p') &&
        SoloDigitos(sClave.substr(1)) && sClave.size() <= 4)
      p = BuscaPreguntaCC(std::stoi(sClave.substr(1)));
    if (p == nullptr) {
      lectura.errores.push_back(sDonde + kClaveDesconocida + sClave);
      continue;
    }
    if (const auto it = vistas.find(p->nNumero); it != vistas.end()) {
      lectura.errores.push_back(sDonde + kClaveRepetida + Clave(p->nNumero));
      continue;
    }
    vistas[p->nNumero] = nLinea;
    TRespuestaCC r = AnalizaValor(*p, Recorta(l.substr(igual + 1)));
    if (const std::string sError = ValidaRespuestaCC(p->nNumero, r); !sError.empty()) {
      lectura.errores.push_back(sDonde + Clave(p->nNumero) + ": " + sError);
      continue;
    }
    lectura.respuestas.Fija(p->nNumero, std::move(r));
  }
  if (!bSeccion) {
    // Nothing of it is an answers file: none of its lines is taken.
    lectura.bAjeno = true;
    lectura.respuestas = TRespuestasCC();
    lectura.errores.insert(lectura.errores.begin(), kArchivoAjeno);
  }
  return lectura;
}

TLecturaRespuestasCC LeeArchivoRespuestasCC(const fs::path& ruta) {
  std::error_code ec;
  if (!fs::exists(ruta, ec)) return {};
  bool bOk = false;
  errno = 0;
  const std::string sBytes = LeeBytes(ruta, bOk);
  if (!bOk) {
    TLecturaRespuestasCC lectura;
    lectura.bExiste = true;
    lectura.bAjeno = true;
    lectura.errores.push_back(kArchivoIlegible + ruta.string() + " (" + std::strerror(errno) + ")");
    return lectura;
  }
  return LeeTextoRespuestasCC(sBytes);
}

TGuardadoRespuestasCC GuardaArchivoRespuestasCC(const fs::path& ruta,
                                                const TRespuestasCC& respuestas) {
  TGuardadoRespuestasCC r;
  const auto Falla = [&](const std::string& sQue, int nError) {
    r.bSinPermiso = EsFaltaDePermiso(nError);
    r.sError = sQue + " (" + std::strerror(nError) + ")";
    return r;
  };
  const fs::path carpeta = ruta.parent_path().empty() ? fs::path(".") : ruta.parent_path();
  std::error_code ec;
  fs::create_directories(carpeta, ec);
  if (ec) return Falla(kNoSeCreoCarpeta + carpeta.string(), ec.value());

  const std::string sTexto = EscribeTextoRespuestasCC(respuestas);
  std::string sTemporal = (carpeta / ("." + ruta.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(sTemporal.data());
  if (fd < 0) return Falla(kNoSeEscribioArchivo + ruta.string(), errno);
  bool bEscrito = fchmod(fd, 0644) == 0;
  for (std::size_t n = 0; bEscrito && n < sTexto.size();) {
    const ssize_t k = ::write(fd, sTexto.data() + n, sTexto.size() - n);
    if (k < 0 && errno == EINTR) continue;
    bEscrito = k > 0;
    if (bEscrito) n += static_cast<std::size_t>(k);
  }
  bEscrito = bEscrito && ::fsync(fd) == 0;
  const int nErrorEscritura = errno;
  bEscrito = ::close(fd) == 0 && bEscrito;
  if (!bEscrito) {
    ::unlink(sTemporal.c_str());
    return Falla(kNoSeEscribioArchivo + ruta.string(), nErrorEscritura ? nErrorEscritura : EIO);
  }
  if (::rename(sTemporal.c_str(), ruta.c_str()) != 0) {
    const int nError = errno;
    ::unlink(sTemporal.c_str());
    return Falla(kNoSeEscribioArchivo + ruta.string(), nError);
  }
  const TLecturaRespuestasCC leida = LeeArchivoRespuestasCC(ruta);
  if (!leida.Correcta() || !(leida.respuestas == respuestas)) {
    r.sError = kReleidoDistinto + ruta.string();
    return r;
  }
  r.bOk = true;
  return r;
}

std::optional<fs::path> ElijeArchivoRespuestasCC(const std::vector<fs::path>& candidatos) {
  std::optional<fs::path> elegido;
  fs::file_time_type tElegido{};
  for (const auto& ruta : candidatos) {
    std::error_code ec;
    if (!fs::is_regular_file(ruta, ec)) continue;
    const auto t = fs::last_write_time(ruta, ec);
    if (ec) continue;
    if (!elegido || t > tElegido) {
      elegido = ruta;
      tElegido = t;
    }
  }
  return elegido;
}

}  // namespace kv
