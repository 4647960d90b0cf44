// The workbook writer: a table continues on further sheets past the row limit and formulas
// over its parts recompute in Calc; dates and numbers keep their kind; the file appears
// only at a successful close, and a failed or abandoned workbook leaves an earlier one as it
// was and nothing else behind.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "document/ooxml_package.h"
#include "document/xlsx_writer.h"
#include "document/xlsxlib/deflate_parts.h"
#include "tests/support/aplicacion_qt.h"
#include "tests/support/calc_prueba.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using xlsx::Cell;

// The files of a folder.
std::size_t Archivos(const fs::path& carpeta) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(carpeta), fs::directory_iterator()));
}

TEST(XlsxWriter, TableContinuesPastTheRowLimitAndFormulasRecompute) {
  TCarpetaTemporal c;
  const fs::path ruta = c.Ruta() / "libro.xlsx";
  xlsx::Workbook::Options o;
  o.rowsPerSheet = 3;
  xlsx::Workbook libro(ruta.string(), o);
  xlsx::Table& resumen = libro.addTable("Resumen", {{"Cuenta"}, {"Suma"}, {"Falso"}});
  xlsx::Table& ops = libro.addTable("Ops", {{"Fecha", xlsx::Kind::Date},
                                            {"Monto", xlsx::Kind::Amount},
                                            {"Clave"},
                                            {"Marca", xlsx::Kind::Flag}});
  for (int i = 1; i <= 7; ++i) {
    // 1 May 2019 is day 43586; the third row has a time of day.
    const Cell fila[] = {xlsx::Date{43586.0 + i + (i == 3 ? 0.5 : 0)}, 10.25 * i,
                         "K\x01" + std::to_string(i), i % 2 == 0 ? 1.0 : 0.0};
    ops.addRow(fila);
  }
  ASSERT_EQ(ops.parts().size(), 3u);
  EXPECT_EQ(ops.parts()[0].sheet, "Ops");
  EXPECT_EQ(ops.parts()[1].sheet, "Ops (2)");
  EXPECT_EQ(ops.parts()[2].sheet, "Ops (3)");
  EXPECT_EQ(ops.parts()[2].rows, 1u);
  EXPECT_EQ(ops.range(1, 1), "'Ops (2)'!$B$2:$B$4");
  std::string cuenta, suma;
  for (std::size_t p = 0; p < ops.parts().size(); ++p) {
    cuenta += (p ? "+" : "") + ("COUNTIFS(" + ops.range(p, 3) + ",1)");
    suma += (p ? "+" : "") + ("SUM(" + ops.range(p, 1) + ")");
  }
  // Cached values a reader that recalculates must not show.
  const Cell fila[] = {xlsx::Formula{cuenta, 99}, xlsx::Formula{suma, 99}, xlsx::Formula{"1+1", 5}};
  resumen.addRow(fila);
  EXPECT_FALSE(fs::exists(ruta)) << "nothing at the path before close";
  libro.close();
  ASSERT_TRUE(fs::exists(ruta));
  EXPECT_EQ(Archivos(c.Ruta()), 1u) << "no temporary file left";

  const auto hojas = prueba::RecalculaLibro(ruta);
  ASSERT_EQ(hojas.size(), 4u);
  const auto& r = hojas.at("Resumen");
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], (std::vector<std::string>{"Cuenta", "Suma", "Falso"}));
  EXPECT_EQ(r[1], (std::vector<std::string>{"3", "287", "2"}));
  const auto& o2 = hojas.at("Ops (2)");
  ASSERT_EQ(o2.size(), 4u);
  EXPECT_EQ(o2[0], (std::vector<std::string>{"Fecha", "Monto", "Clave", "Marca"}));
  EXPECT_EQ(o2[1], (std::vector<std::string>{"05/05/2019", "41",
                                             "K\x01"
                                             "4",
                                             "1"}));
  EXPECT_EQ(hojas.at("Ops")[3][0], "05/04/2019 12:00:00");
  EXPECT_EQ(hojas.at("Ops (3)").size(), 2u);
}

// What the central directory of a package says of each part: its deflate options (bits 1-2
// of the general purpose flag: 6 is zlib's fastest level, 0 its default, 99 a part stored
// without deflate) and the CRC-32 of its bytes.
struct Entrada {
  unsigned opciones = 0;
  unsigned long crc = 0;
};
std::map<std::string, Entrada> Directorio(const fs::path& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  const std::string z((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  auto u16 = [&](std::size_t i) {
    return static_cast<unsigned>(static_cast<unsigned char>(z.at(i))) |
           static_cast<unsigned>(static_cast<unsigned char>(z.at(i + 1))) << 8;
  };
  auto u32 = [&](std::size_t i) { return u16(i) | u16(i + 2) << 16; };
  const std::size_t fin = z.rfind(std::string("PK\x05\x06", 4));
  std::map<std::string, Entrada> partes;
  if (fin == std::string::npos) return partes;
  std::size_t i = u32(fin + 16);
  for (unsigned n = u16(fin + 10); n > 0 && u32(i) == 0x02014b50; --n) {
    const std::size_t nombre = u16(i + 28), extra = u16(i + 30), comentario = u16(i + 32);
    partes[z.substr(i + 46, nombre)] = {u16(i + 10) == 8 ? (u16(i + 8) & 6u) : 99u, u32(i + 16)};
    i += 46 + nombre + extra + comentario;
  }
  return partes;
}

// Rows travel to the writing thread in batches: tables filled in turn, each past several
// batches and over a sheet boundary, keep every row in its place.
TEST(XlsxWriter, TablesFilledInTurnKeepTheirRowsAcrossBatchesAndSheets) {
  TCarpetaTemporal c;
  const fs::path ruta = c.Ruta() / "libro.xlsx";
  xlsx::Workbook::Options o;
  o.rowsPerSheet = 2500;
  xlsx::Workbook libro(ruta.string(), o);
  xlsx::Table& a = libro.addTable("A", {{"N", xlsx::Kind::Integer}, {"Texto"}});
  xlsx::Table& b = libro.addTable("B", {{"N", xlsx::Kind::Integer}, {"Marca", xlsx::Kind::Flag}});
  for (int i = 1; i <= 3000; ++i) {
    const Cell filaA[] = {static_cast<double>(i), "a" + std::to_string(i)};
    a.addRow(filaA);
    const Cell filaB[] = {static_cast<double>(-i), i % 3 == 0 ? 1.0 : 0.0};
    b.addRow(filaB);
  }
  xlsx::Table& r = libro.addTable("R", {{"SumaA"}, {"SumaB"}, {"Marcas"}, {"SinMarca"}});
  const Cell fila[] = {
      xlsx::Formula{"SUM(" + a.range(0, 0) + ")+SUM(" + a.range(1, 0) + ")", 0},
      xlsx::Formula{"SUM(" + b.range(0, 0) + ")+SUM(" + b.range(1, 0) + ")", 0},
      xlsx::Formula{"COUNTIFS(" + b.range(0, 1) + ",1)+COUNTIFS(" + b.range(1, 1) + ",1)", 0},
      xlsx::Formula{
          "COUNTIFS(" + b.range(0, 1) + ",\"<>1\")+COUNTIFS(" + b.range(1, 1) + ",\"<>1\")", 0}};
  r.addRow(fila);
  libro.close();

  const auto hojas = prueba::RecalculaLibro(ruta);
  ASSERT_EQ(hojas.size(), 5u);
  EXPECT_EQ(hojas.at("R").at(1), (std::vector<std::string>{"4501500", "-4501500", "1000", "2000"}));
  const auto& a2 = hojas.at("A (2)");
  ASSERT_EQ(a2.size(), 501u);
  EXPECT_EQ(a2[1], (std::vector<std::string>{"2501", "a2501"}));
  EXPECT_EQ(a2[500], (std::vector<std::string>{"3000", "a3000"}));
  const auto& b1 = hojas.at("B");
  ASSERT_EQ(b1.size(), 2501u);
  // An unset flag is left empty.
  EXPECT_EQ(b1[2498], (std::vector<std::string>{"-2498", ""}));
  EXPECT_EQ(b1[2500], (std::vector<std::string>{"-2500", ""}));
  EXPECT_EQ(b1[1500].at(1), "1");

  // Every part is deflated at zlib's fastest level: a large workbook is compressed in a
  // third of the time of the library's default.
  const auto partes = Directorio(ruta);
  ASSERT_TRUE(partes.count("xl/worksheets/sheet1.xml")) << partes.size();
  for (const auto& [parte, entrada] : partes) EXPECT_EQ(entrada.opciones, 6u) << parte;
}

// The numbers of a sheet's XML, in order, read as doubles.
std::vector<double> Numeros(const std::string& hoja) {
  std::vector<double> leidos;
  for (std::size_t i = 0; (i = hoja.find("<v>", i)) != std::string::npos;) {
    i += 3;
    const std::size_t fin = hoja.find("</v>", i);
    double v = 0;
    const auto r = std::from_chars(hoja.data() + i, hoja.data() + std::min(fin, hoja.size()), v);
    EXPECT_TRUE(fin != std::string::npos && r.ec == std::errc() && r.ptr == hoja.data() + fin)
        << hoja.substr(i, 40);
    leidos.push_back(v);
  }
  return leidos;
}

// Each number goes into the sheet as a text that reads back as the same double: a time of
// day keeps its seconds, an amount in dollars all its digits. A sheet larger than a chunk
// of the package's compression comes out of the package whole: its chunks are deflated
// apart, joined as one stream, and the part's CRC-32 covers the whole part. The sheet's
// XML is read as it was written, without a spreadsheet between.
TEST(XlsxWriter, SheetsReadBackExactly) {
  TCarpetaTemporal c;
  const fs::path ruta = c.Ruta() / "libro.xlsx";
  const double valores[] = {
      43538.0 + 665.0 / 1440.0,  // 14 Mar 2019 11:05, which 16 digits cannot hold
      0.1 + 0.2,                 // 0.30000000000000004
      519.21079958463134,        // an amount divided by a rate
      -1234567.891,
      1e-7,
      1e21,
      12345678901234567890.0,
      5e-324,
  };
  // Rows of about 90 bytes of XML: the large sheet is three chunks and a part of one.
  const int nFilas = static_cast<int>(3.5 * xlsx::kDeflateChunk / 90);
  {
    xlsx::Workbook libro(ruta.string());
    xlsx::Table& t = libro.addTable("N", {{"Valor", xlsx::Kind::General}});
    for (const double v : valores) {
      const Cell fila[] = {v};
      t.addRow(fila);
    }
    xlsx::Table& grande = libro.addTable("Grande", {{"N", xlsx::Kind::Integer}, {"Texto"}});
    for (int i = 1; i <= nFilas; ++i) {
      const Cell fila[] = {static_cast<double>(i), "renglón " + std::to_string(i * 7919 % 10007)};
      grande.addRow(fila);
    }
    libro.close();
  }
  const OoxmlPackage paquete(Lee(ruta), "libro");
  const std::vector<double> leidos = Numeros(paquete.read("xl/worksheets/sheet1.xml"));
  ASSERT_EQ(leidos.size(), std::size(valores));
  for (std::size_t i = 0; i < leidos.size(); ++i) EXPECT_EQ(leidos[i], valores[i]) << i;

  const std::string hoja = paquete.read("xl/worksheets/sheet2.xml");
  ASSERT_GT(hoja.size(), 3 * xlsx::kDeflateChunk);
  EXPECT_EQ(Directorio(ruta).at("xl/worksheets/sheet2.xml").crc,
            crc32(0, reinterpret_cast<const Bytef*>(hoja.data()), static_cast<uInt>(hoja.size())));
  const std::vector<double> n = Numeros(hoja);
  ASSERT_EQ(n.size(), static_cast<std::size_t>(nFilas));
  for (int i = 1; i <= nFilas; ++i) ASSERT_EQ(n[static_cast<std::size_t>(i - 1)], i);
  const std::string ultimo = "renglón " + std::to_string(nFilas * 7919 % 10007) + "</t>";
  EXPECT_NE(hoja.find(ultimo, hoja.size() - 400), std::string::npos)
      << hoja.substr(hoja.size() - 400);
  EXPECT_EQ(hoja.substr(hoja.size() - 12), "</worksheet>");
}

TEST(XlsxWriter, FailedOrAbandonedWorkbookLeavesTheEarlierFile) {
  TCarpetaTemporal c;
  const fs::path ruta = c.Ruta() / "libro.xlsx";
  std::ofstream(ruta) << "anterior";
  {
    xlsx::Workbook libro(ruta.string());
    const Cell fila[] = {1.0};
    // Enough rows that batches are still on their way when the workbook is dropped.
    xlsx::Table& t = libro.addTable("Hoja", {{"A"}});
    for (int i = 0; i < 20000; ++i) t.addRow(fila);
    EXPECT_EQ(Archivos(c.Ruta()), 1u);
  }  // abandoned: never closed
  EXPECT_EQ(Lee(ruta), "anterior");
  EXPECT_EQ(Archivos(c.Ruta()), 1u);

  // A folder that does not exist: the library's failure in the system's words.
  xlsx::Workbook sinCarpeta((c.Ruta() / "no" / "libro.xlsx").string());
  sinCarpeta.addTable("Hoja", {{"A"}});
  try {
    sinCarpeta.close();
    ADD_FAILURE() << "close succeeded";
  } catch (const xlsx::XlsxError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("No se pudo guardar el libro de Excel " +
                                              (c.Ruta() / "no" / "libro.xlsx").string() + " (",
                                          0),
              0u)
        << e.what();
  }

  // The sheets' rows wait in the folder the environment names for temporary files: one that
  // does not exist stops the workbook with that cause, not as a sheet's name, and leaves
  // nothing behind.
  {
    const char* tmp = std::getenv("TMP");
    const std::optional<std::string> antes = tmp ? std::optional<std::string>(tmp) : std::nullopt;
    ::setenv("TMP", (c.Ruta() / "no-existe").c_str(), 1);
    const fs::path otro = c.Ruta() / "otro.xlsx";
    try {
      xlsx::Workbook libro(otro.string());
      libro.addTable("Hoja", {{"A"}});
      libro.close();
      ADD_FAILURE() << "close succeeded";
    } catch (const xlsx::XlsxError& e) {
      EXPECT_EQ(std::string(e.what()), "No se pudo crear el archivo temporal de la hoja Hoja (" +
                                           std::string(std::strerror(ENOENT)) + ")");
    }
    if (antes)
      ::setenv("TMP", antes->c_str(), 1);
    else
      ::unsetenv("TMP");
    EXPECT_FALSE(fs::exists(otro));
    EXPECT_EQ(Archivos(c.Ruta()), 1u);
  }

  // Invalid sheet names and rows wider than the table are refused.
  xlsx::Workbook libro(ruta.string());
  EXPECT_THROW(libro.addTable("a/b", {{"A"}}), xlsx::XlsxError);
  EXPECT_THROW(libro.addTable(std::string(32, 'x'), {{"A"}}), xlsx::XlsxError);
  libro.addTable("Otra", {{"A"}});
  EXPECT_THROW(libro.addTable("Otra", {{"A"}}), xlsx::XlsxError) << "a name taken";
  const Cell ancha[] = {1.0, 2.0};
  EXPECT_THROW(libro.addTable("Hoja", {{"A"}}).addRow(ancha), xlsx::XlsxError);
  EXPECT_EQ(Lee(ruta), "anterior");
}

}  // namespace
}  // namespace kv
