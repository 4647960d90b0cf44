// kavori-demo FOLDER [--operaciones N] [--semilla S]
#include <charconv>
#include <chrono>
#include <iostream>
#include <string>

#include "tools/kavori-demo/generador.h"

namespace {

constexpr const char* kUso = "uso: kavori-demo CARPETA [--operaciones N] [--semilla S]";

template <typename T>
bool numero(const std::string& s, T& v) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc{} && r.ptr == s.data() + s.size();
}

}  // namespace

int main(int argc, char** argv) {
  kv::demo::OpcionesDemo o;
  bool hayCarpeta = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if ((a == "--operaciones" || a == "--semilla") && i + 1 < argc) {
      std::string v = argv[++i];
      bool ok = a == "--operaciones" ? numero(v, o.operaciones) && o.operaciones >= 0
                                     : numero(v, o.semilla);
      if (!ok) {
        std::cerr << "kavori-demo: valor no válido para " << a << ": " << v << '\n' << kUso << '\n';
        return 1;
      }
    } else if (a == "--help" || a == "-h") {
      std::cout << kUso << '\n';
      return 0;
    } else if (!a.empty() && a[0] != '-' && !hayCarpeta) {
      o.carpeta = a;
      hayCarpeta = true;
    } else {
      std::cerr << kUso << '\n';
      return 1;
    }
  }
  if (!hayCarpeta) {
    std::cerr << kUso << '\n';
    return 1;
  }
  try {
    auto inicio = std::chrono::steady_clock::now();
    kv::demo::ResumenDemo r = kv::demo::GeneraDemo(o);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    std::cout << (o.carpeta / "DataBase" / "Kavori.mdb").string() << ": " << r.operaciones
              << " operaciones (" << r.renglonesMovtos << " renglones en tMovtos, "
              << r.renglonesProces << " en tProces), " << r.clientes << " clientes, " << r.reportes
              << " reportes; " << s << " s\n";
  } catch (const std::exception& e) {
    std::cerr << "kavori-demo: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
