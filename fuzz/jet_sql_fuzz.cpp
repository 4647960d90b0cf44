// Fuzz harness: runs one (mutated) Jet SQL text over a small fixture. Any failure
// must be a DbError; a crash, a sanitizer report or a hang is a finding.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "data/db/error.h"
#include "jet/jet_engine.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: jet_sql_fuzz ARCHIVO\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::stringstream sql;
  sql << in.rdbuf();
  try {
    kv::jet::JetEngine engine;
    engine.runSqlite(
        "CREATE TABLE tMovtos (NumEmp INTEGER, Tipo TEXT COLLATE JET, Folio INTEGER, Fecha "
        "DATEREAL, NumeroDivisa INTEGER, Cotizacion REAL, Cantidad REAL, ClaveCliente TEXT "
        "COLLATE JET, Cancelado INTEGER);"
        "INSERT INTO tMovtos VALUES (1,'C',1,43500.5,2,19.1,100,'A1',0),(1,'v',2,43830,3,1.5,"
        "NULL,'a1',-1),(1,'C',3,NULL,2,0,0,NULL,0);"
        "CREATE TABLE tCliente (ClaveCliente TEXT COLLATE JET, Nombre TEXT COLLATE JET, "
        "PersonaMoral INTEGER);"
        "INSERT INTO tCliente VALUES ('A1','Público', 0), ('b2', NULL, -1);");
    engine.select(sql.str());
  } catch (const kv::db::DbError& e) {
    std::fprintf(stderr, "%s\n", e.describe().c_str());
  }
  return 0;
}
