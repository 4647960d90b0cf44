#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "data/consultas_en_copia.h"
#include "data/db/error.h"
#include "data/db/heartbeat.h"

namespace kv {
namespace {

// A session whose statements are names of fixed results; "falla" fails.
class TSesionFija : public db::Session {
 public:
  db::RowSet select(const std::string& sql) override {
    ++nLlamadas;
    if (sql == "falla") throw db::DbError("TSesionFija", "no hay tal tabla");
    db::RowSet rs;
    if (sql == "vacía") {
      rs.columns = {"Resultado"};
      return rs;
    }
    rs.columns = {"Nulo", "Entero", "Real", "Fecha", "Texto"};
    rs.rows = {
        {db::Value(), db::Value(std::int64_t{0}), db::Value(0.1 + 0.2),
         db::Value(db::DateTime{43538.461805555555}), db::Value(std::string("Ñandú ''x''"))},
        {db::Value(), db::Value(std::numeric_limits<std::int64_t>::min()), db::Value(-0.0),
         db::Value(db::DateTime{-1.5}), db::Value(std::string("a\0b\n", 4))},
        {db::Value(std::string()), db::Value(std::numeric_limits<std::int64_t>::max()),
         db::Value(1e308), db::Value(db::DateTime{0}), db::Value(std::string(100000, 'z'))},
    };
    return rs;
  }
  void execute(const std::string&) override {}
  void shareMemory(int n) override { reparto.push_back(n); }
  int nLlamadas = 0;
  std::vector<int> reparto;
};

// Every kind of value comes back as it was, each statement's result in its place, and a
// failed statement as none.
TEST(ConsultasEnCopia, RowsComeBackExactlyInTheirOrder) {
  TSesionFija sesion;
  TConsultasEnCopia copia;
  ASSERT_TRUE(copia.Inicia(sesion, {"filas", "falla", "vacía", "filas"}));
  // While the copy works, the session shares its memory with it.
  EXPECT_EQ(sesion.reparto, std::vector<int>{2});
  const auto r = copia.Espera();
  EXPECT_EQ(sesion.reparto, (std::vector<int>{2, 1}));
  ASSERT_TRUE(r);
  ASSERT_EQ(r->size(), 4u);
  const db::RowSet esperado = sesion.select("filas");
  for (std::size_t i : {0u, 3u}) {
    ASSERT_TRUE((*r)[i].filas) << i;
    EXPECT_EQ((*r)[i].filas->columns, esperado.columns);
    EXPECT_EQ((*r)[i].filas->rows, esperado.rows);
    EXPECT_GE((*r)[i].dSegundos, 0.0);
  }
  EXPECT_TRUE(std::signbit(std::get<double>((*r)[0].filas->rows[1][2].raw())));
  EXPECT_FALSE((*r)[1].filas);
  ASSERT_TRUE((*r)[2].filas);
  EXPECT_EQ((*r)[2].filas->columns, std::vector<std::string>{"Resultado"});
  EXPECT_TRUE((*r)[2].filas->rows.empty());
  // The statements ran in the copy: this process's session did none of them.
  EXPECT_EQ(sesion.nLlamadas, 1);
}

// Under a window's heartbeat the copy is made on the heartbeat's worker thread, which
// ends at once: the copy outlives it, and its rows come back.
TEST(ConsultasEnCopia, TheCopyOutlivesTheHeartbeatsWorker) {
  int nLatidos = 0;
  db::HeartbeatScope latido([&] { ++nLatidos; }, std::chrono::milliseconds(1));
  TSesionFija sesion;
  TConsultasEnCopia copia;
  ASSERT_TRUE(copia.Inicia(sesion, {"filas"}));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const auto r = copia.Espera();
  ASSERT_TRUE(r);
  ASSERT_TRUE((*r)[0].filas);
  EXPECT_EQ((*r)[0].filas->rows.size(), 3u);
}

// KV_COPIA_PARALELA=0 makes no copy: the caller runs the statements itself.
TEST(ConsultasEnCopia, SwitchedOffMakesNoCopy) {
  TSesionFija sesion;
  ::setenv("KV_COPIA_PARALELA", "0", 1);
  TConsultasEnCopia copia;
  const bool bIniciada = copia.Inicia(sesion, {"filas"});
  ::unsetenv("KV_COPIA_PARALELA");
  EXPECT_FALSE(bIniciada);
  EXPECT_FALSE(copia.Espera());
  EXPECT_EQ(sesion.nLlamadas, 0);
  EXPECT_TRUE(sesion.reparto.empty());
}

// A copy nobody waits for is stopped when its owner ends, and the memory is the
// session's again.
TEST(ConsultasEnCopia, AnAbandonedCopyGivesTheMemoryBack) {
  TSesionFija sesion;
  {
    TConsultasEnCopia copia;
    ASSERT_TRUE(copia.Inicia(sesion, {"filas"}));
  }
  EXPECT_EQ(sesion.reparto, (std::vector<int>{2, 1}));
}

}  // namespace
}  // namespace kv
