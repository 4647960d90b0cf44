#include "data/consultas_en_copia.h"

#include <bit>
#include <chrono>
#include <cstdint>

#include "data/db/heartbeat.h"
#include "diag/aceleraciones.h"

namespace kv {

namespace {

// The rows as bytes: every number little-endian in 8 bytes, every text its length then
// its bytes, every value a tag then its payload.
enum TEtiqueta : char { kNulo = 'N', kEntero = 'I', kReal = 'R', kFecha = 'D', kTexto = 'T' };

void Agrega64(std::string& s, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
}
void AgregaTexto(std::string& s, const std::string& t) {
  Agrega64(s, t.size());
  s += t;
}

void AgregaValor(std::string& s, const db::Value& v) {
  std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          s += kNulo;
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          s += kEntero;
          Agrega64(s, static_cast<std::uint64_t>(x));
        } else if constexpr (std::is_same_v<T, double>) {
          s += kReal;
          Agrega64(s, std::bit_cast<std::uint64_t>(x));
        } else if constexpr (std::is_same_v<T, db::DateTime>) {
          s += kFecha;
          Agrega64(s, std::bit_cast<std::uint64_t>(x.days));
        } else {
          s += kTexto;
          AgregaTexto(s, x);
        }
      },
      v.raw());
}

// Reads back what the Agrega* functions wrote; every read fails past the end.
class TLector {
 public:
  explicit TLector(const std::string& s) : p_(s.data()), fin_(s.data() + s.size()) {}
  bool Fin() const { return p_ == fin_; }
  bool Lee64(std::uint64_t& v) {
    if (fin_ - p_ < 8) return false;
    v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p_[i]);
    p_ += 8;
    return true;
  }
  bool LeeTexto(std::string& t) {
    std::uint64_t n = 0;
    if (!Lee64(n) || static_cast<std::uint64_t>(fin_ - p_) < n) return false;
    t.assign(p_, static_cast<std::size_t>(n));
    p_ += n;
    return true;
  }
  bool LeeCaracter(char& c) {
    if (p_ == fin_) return false;
    c = *p_++;
    return true;
  }
  bool LeeValor(db::Value& v) {
    char c = 0;
    std::uint64_t n = 0;
    std::string t;
    if (!LeeCaracter(c)) return false;
    switch (c) {
      case kNulo:
        v = db::Value();
        return true;
      case kEntero:
        if (!Lee64(n)) return false;
        v = db::Value(static_cast<std::int64_t>(n));
        return true;
      case kReal:
        if (!Lee64(n)) return false;
        v = db::Value(std::bit_cast<double>(n));
        return true;
      case kFecha:
        if (!Lee64(n)) return false;
        v = db::Value(db::DateTime{std::bit_cast<double>(n)});
        return true;
      case kTexto:
        if (!LeeTexto(t)) return false;
        v = db::Value(std::move(t));
        return true;
      default:
        return false;
    }
  }

 private:
  const char* p_;
  const char* fin_;
};

// One statement's result: whether it has rows, its seconds, its columns and rows.
void AgregaResultado(std::string& s, const std::optional<db::RowSet>& filas, double dSegundos) {
  s += filas ? 'F' : 'X';
  Agrega64(s, std::bit_cast<std::uint64_t>(dSegundos));
  if (!filas) return;
  Agrega64(s, filas->columns.size());
  for (const auto& c : filas->columns) AgregaTexto(s, c);
  Agrega64(s, filas->rows.size());
  for (const auto& fila : filas->rows)
    for (const auto& v : fila) AgregaValor(s, v);
}

bool LeeResultado(TLector& l, TConsultasEnCopia::TResultado& r) {
  char c = 0;
  std::uint64_t n = 0;
  if (!l.LeeCaracter(c) || (c != 'F' && c != 'X') || !l.Lee64(n)) return false;
  r.dSegundos = std::bit_cast<double>(n);
  if (c == 'X') return true;
  db::RowSet rs;
  std::uint64_t nColumnas = 0, nFilas = 0;
  if (!l.Lee64(nColumnas)) return false;
  rs.columns.resize(static_cast<std::size_t>(nColumnas));
  for (auto& col : rs.columns)
    if (!l.LeeTexto(col)) return false;
  if (!l.Lee64(nFilas)) return false;
  for (std::uint64_t i = 0; i < nFilas; ++i) {
    std::vector<db::Value> fila(rs.columns.size());
    for (auto& v : fila)
      if (!l.LeeValor(v)) return false;
    rs.rows.push_back(std::move(fila));
  }
  r.filas = std::move(rs);
  return true;
}

}  // namespace

bool TConsultasEnCopia::Inicia(db::Session& sesion, std::vector<std::string> consultas) {
  if (AceleracionApagada("KV_COPIA_PARALELA")) return false;
  Devuelve();
  F_nConsultas = consultas.size();
  // Shrinking the caches may write what they held to the temporary store: database
  // work like any other, with the window beating. The copy is made here, on the calling
  // thread: it lives no longer than the thread that made it (TProcesoCopia).
  F_Sesion = &sesion;
  try {
    db::runWithHeartbeat([&] { sesion.shareMemory(2); });
  } catch (const std::exception&) {
    // A busy or failing session: its caller runs the statements.
    Devuelve();
    return false;
  }
  const bool bIniciada = F_Copia.Inicia([&sesion, consultas = std::move(consultas)] {
    try {
      sesion.foresee(consultas);
    } catch (const std::exception&) {
      // Each statement reports its own failure below.
    }
    std::string s;
    for (const auto& sConsulta : consultas) {
      const auto t0 = std::chrono::steady_clock::now();
      std::optional<db::RowSet> filas;
      try {
        filas = sesion.select(sConsulta);
      } catch (const std::exception&) {
        filas.reset();
      }
      AgregaResultado(s, filas,
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return s;
  });
  if (!bIniciada) Devuelve();
  return bIniciada;
}

TConsultasEnCopia::~TConsultasEnCopia() {
  F_Copia.Detiene();
  Devuelve();
}

void TConsultasEnCopia::Devuelve() {
  if (!F_Sesion) return;
  try {
    F_Sesion->shareMemory(1);
  } catch (const std::exception&) {
    // The caches stay smaller: slower, never wrong.
  }
  F_Sesion = nullptr;
}

std::optional<std::vector<TConsultasEnCopia::TResultado>> TConsultasEnCopia::Espera() {
  std::optional<std::string> datos;
  db::runWithHeartbeat([&] { datos = F_Copia.Espera(); });
  Devuelve();
  if (!datos) return std::nullopt;
  TLector l(*datos);
  std::vector<TResultado> r(F_nConsultas);
  for (auto& x : r)
    if (!LeeResultado(l, x)) return std::nullopt;
  if (!l.Fin()) return std::nullopt;
  return r;
}

}  // namespace kv
