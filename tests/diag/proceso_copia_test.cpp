#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>

#include "diag/proceso_copia.h"

namespace kv {
namespace {

// What comes back from a copy, for work that ends each way.
TEST(ProcesoCopia, GivesBackWhatTheWorkReturnsAndNothingWhenItEndsOtherwise) {
  struct Caso {
    const char* sNombre;
    std::function<std::string()> trabajo;
    std::optional<std::string> esperado;
  };
  // More than a pipe holds: the copy writes while this process reads.
  const std::string sGrande(3 * 1024 * 1024 + 17, 'x');
  const Caso casos[] = {
      {"texto", [] { return std::string("Respuesta: 17\n\t\0fin", 20); },
       std::string("Respuesta: 17\n\t\0fin", 20)},
      {"vacío", [] { return std::string(); }, std::string()},
      {"grande", [&] { return sGrande; }, sGrande},
      {"excepción", []() -> std::string { throw std::runtime_error("falla"); }, std::nullopt},
      {"salida 3", []() -> std::string { ::_exit(3); }, std::nullopt},
      {"salida 0 sin resultado", []() -> std::string { ::_exit(0); }, std::nullopt},
      {"señal",
       []() -> std::string {
         std::raise(SIGKILL);
         return "nunca";
       },
       std::nullopt},
  };
  for (const Caso& c : casos) {
    TProcesoCopia copia;
    ASSERT_TRUE(copia.Inicia(c.trabajo)) << c.sNombre;
    EXPECT_EQ(copia.Espera(), c.esperado) << c.sNombre;
    // Once waited for, there is nothing more to wait for.
    EXPECT_EQ(copia.Espera(), std::nullopt) << c.sNombre;
  }
  TProcesoCopia nunca;
  EXPECT_EQ(nunca.Espera(), std::nullopt);
}

// The copy starts with the memory of the process, and what either side changes
// afterwards the other does not see.
TEST(ProcesoCopia, WorksOnTheMemoryAsItWasAtTheStart) {
  std::string sDato = "antes";
  TProcesoCopia copia;
  ASSERT_TRUE(copia.Inicia([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string visto = sDato;
    sDato = "de la copia";
    return visto;
  }));
  sDato = "después";
  EXPECT_EQ(copia.Espera(), "antes");
  EXPECT_EQ(sDato, "después");
}

// A removed file held open (a database's temporary store) is the copy's own from the
// start: neither side's writes reach the other, whoever writes first.
TEST(ProcesoCopia, ARemovedOpenFileIsPrivateToEachSide) {
  const std::filesystem::path ruta =
      std::filesystem::temp_directory_path() / ("proceso-copia-" + std::to_string(::getpid()));
  const int fd = ::open(ruta.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0);
  ::unlink(ruta.c_str());
  ASSERT_EQ(::pwrite(fd, "original", 8, 0), 8);
  auto Lee = [fd] {
    char buf[16] = {};
    const ssize_t n = ::pread(fd, buf, sizeof buf, 0);
    return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
  };
  TProcesoCopia copia;
  ASSERT_TRUE(copia.Inicia([&] {
    // This process has written by now; the copy still reads what was there.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string visto = Lee();
    if (::pwrite(fd, "COPIA...", 8, 0) != 8) return std::string("pwrite");
    return visto + "|" + Lee();
  }));
  ASSERT_EQ(::pwrite(fd, "PROCESO.", 8, 0), 8);
  EXPECT_EQ(copia.Espera(), "original|COPIA...");
  EXPECT_EQ(Lee(), "PROCESO.");
  ::close(fd);
}

// A copy that would run on is stopped when asked, or when its owner ends.
TEST(ProcesoCopia, StopsACopyThatRunsOn) {
  auto Eterno = []() -> std::string {
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  };
  const auto t0 = std::chrono::steady_clock::now();
  {
    TProcesoCopia copia;
    ASSERT_TRUE(copia.Inicia(Eterno));
    copia.Detiene();
    EXPECT_EQ(copia.Espera(), std::nullopt);
  }
  {
    TProcesoCopia copia;
    ASSERT_TRUE(copia.Inicia(Eterno));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
}

}  // namespace
}  // namespace kv
