// CSV front end of the writer: a header line of Name:type, then one line per row.
#include <fstream>

#include "tools/mdbwrite/csv.h"
#include "tools/mdbwrite/mdbwriter.h"
#include "tools/mdbwrite/texto_ascii.h"
#include "tools/mdbwrite/textos.h"

namespace kv::mdbw {

namespace {

std::string tableName(const std::filesystem::path& p) {
  std::string name = p.filename().string();
  if (name.size() > 4 && lowerAscii(name.substr(name.size() - 4)) == ".csv") {
    name.resize(name.size() - 4);
  }
  return name;
}

}  // namespace

Column parseColumnHeader(const std::string& field) {
  auto colon = field.rfind(':');
  if (colon == std::string::npos) throw WriteError(textos_mdbwrite::headerWithoutType(field));
  Column c;
  c.name = field.substr(0, colon);
  std::string type = lowerAscii(field.substr(colon + 1));
  // Every type by its name, but text, which needs its size: text(N).
  if (const ColumnTypeInfo* t = columnTypeNamed(type); t && t->type != ColumnType::Text) {
    c.type = t->type;
    return c;
  }
  if (type.size() > 6 && type.compare(0, 5, "text(") == 0 && type.back() == ')') {
    std::string digits = type.substr(5, type.size() - 6);
    if (digits.empty() || digits.size() > 3 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
      throw WriteError(textos_mdbwrite::badTextSize(type));
    }
    c.type = ColumnType::Text;
    c.size = std::stoi(digits);
    if (c.size < 1 || c.size > 255) throw WriteError(textos_mdbwrite::badTextSize(type));
    return c;
  }
  throw WriteError(textos_mdbwrite::unknownType(field.substr(colon + 1)));
}

void writeDatabaseFromCsv(const std::filesystem::path& target,
                          const std::vector<std::filesystem::path>& csvFiles,
                          const Options& options) {
  DatabaseWriter writer(target, options);
  std::vector<CsvField> fields;
  Row row;
  for (const auto& path : csvFiles) {
    const std::string file = path.string();
    std::ifstream in(path, std::ios::binary);
    if (!in) throw WriteError(textos_mdbwrite::ioError("read", file, "cannot open the file"));
    CsvReader csv(in);
    std::vector<Column> columns;
    std::vector<std::string> names;
    int at = -1;
    try {
      if (!csv.next(fields)) throw WriteError(textos_mdbwrite::csvEmpty());
      for (const CsvField& f : fields) names.push_back(f.text.substr(0, f.text.rfind(':')));
      for (const CsvField& f : fields) {
        at = int(columns.size());
        columns.push_back(parseColumnHeader(f.text));
      }
      at = -1;
      writer.beginTable(tableName(path), columns);
      while (csv.next(fields)) {
        row.resize(fields.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
          if (fields[i].text.empty() && !fields[i].quoted) {
            row[i] = Null{};
          } else {
            row[i] = std::move(fields[i].text);
          }
        }
        writer.addRow(row);
      }
    } catch (const CsvSyntaxError& e) {
      throw WriteError(textos_mdbwrite::csvAt(file, e.line(), -1, {}, e.what()));
    } catch (const WriteError& e) {
      int column = e.column() >= 0 ? e.column() : at;
      std::string name =
          column >= 0 && std::size_t(column) < names.size() ? names[std::size_t(column)] : "";
      if (!in.good() && !in.eof()) {
        throw WriteError(textos_mdbwrite::ioError("read", file, "read error"));
      }
      throw WriteError(
          textos_mdbwrite::csvAt(file, std::max(csv.line(), 1L), column, name, e.what()), column);
    }
    if (in.bad()) throw WriteError(textos_mdbwrite::ioError("read", file, "read error"));
  }
  writer.finish();
}

}  // namespace kv::mdbw
