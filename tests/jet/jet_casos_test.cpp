// Jet SQL semantics cases read from the files tests/jet/casos/*.test: one test per file,
// each failure reported at the file and line of its case. A case is added by writing
// it in a file; a new file is picked up as it is.
//
// A file holds directives, records and comments, records separated by a blank line:
//
//   # A comment: a line starting with '#' between records.
//   fixture pequena.sql            SQLite script beside the file, run on an engine
//                                  without an .mdb file (tables made with COLLATE JET,
//                                  DATEREAL...)
//   database real-mdb/neptuno.mdb  an Access file under the shared test data
//                                  ($KV_SHARED_DIR/testdata), opened read only; the
//                                  file is skipped when it is not there
//   derived-cache off on on        run every record once per value, in this order, with
//                                  the reuse of derived tables off or on (default: as
//                                  the engine starts)
//
//   query TITLE                    a statement and the rows it gives: the header line
//   SELECT ...                     of column names, then one line per row; columns
//   ----                           separated by a tab, null as \N, and a tab, newline
//   Id<TAB>Nombre                  or backslash inside a value as \t, \n, \\. A blank
//   1<TAB>Ana                      at the end of a line is written \s, an empty line
//                                  as \e.
//
//   error TITLE                    a statement the engine refuses with its own error
//   SELECT ...                     ("EJetError") and exactly this message
//   ----
//   No se encontró el campo 'x'
//
//   error-contains TITLE           the same, with a message that contains the text
//
// A statement may take several lines (joined with newlines); blanks at the end of its
// lines are dropped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/jet_provider.h"
#include "jet/row_text.h"

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

struct Record {
  enum class Kind { Query, Error, ErrorContains };
  Kind kind = Kind::Query;
  std::string title;
  std::string sql;
  std::string expected;
  int line = 0;
};

struct CaseFile {
  std::string fixture;   // SQLite script, relative to the file
  std::string database;  // Access file, relative to the shared test data
  std::vector<bool> derivedCache;
  std::vector<Record> records;
  std::vector<std::pair<int, std::string>> problems;  // line, what is wrong
};

// An expected row line as rowSetText writes it: \s is a blank, \e nothing; every other
// escape is rowSetText's own and stays as written.
std::string decodeRow(const std::string& line) {
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      const char next = line[++i];
      if (next == 's')
        out += ' ';
      else if (next != 'e')
        out += {'\\', next};
      continue;
    }
    out += line[i];
  }
  return out;
}

// The inverse of decodeRow for a failure message: blanks ending a line shown as \s.
std::string showRows(const std::string& text) {
  std::string out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::size_t keep = line.size();
    while (keep > 0 && line[keep - 1] == ' ') --keep;
    out += "    " + line.substr(0, keep);
    for (std::size_t i = keep; i < line.size(); ++i) out += "\\s";
    out += '\n';
  }
  return out;
}

std::string trimEnd(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  return s;
}

// "word rest" -> word, rest.
std::pair<std::string, std::string> splitWord(const std::string& line) {
  const auto sp = line.find(' ');
  if (sp == std::string::npos) return {line, ""};
  return {line.substr(0, sp), line.substr(line.find_first_not_of(' ', sp))};
}

CaseFile parse(const fs::path& path) {
  CaseFile f;
  std::ifstream in(path);
  if (!in) {
    f.problems.emplace_back(0, "cannot be read");
    return f;
  }
  enum class State { Between, Statement, Expected } state = State::Between;
  Record rec;
  int number = 0;
  const auto finish = [&] {
    if (state == State::Statement)
      f.problems.emplace_back(rec.line, "the record has no ---- line");
    else if (state == State::Expected)
      f.records.push_back(rec);
    state = State::Between;
  };
  for (std::string raw; std::getline(in, raw);) {
    ++number;
    const std::string line = trimEnd(raw);
    if (line.empty()) {
      finish();
      continue;
    }
    if (state == State::Statement) {
      if (line == "----")
        state = State::Expected;
      else
        rec.sql += (rec.sql.empty() ? "" : "\n") + line;
      continue;
    }
    if (state == State::Expected) {
      rec.expected += rec.kind == Record::Kind::Query ? decodeRow(raw) + "\n"
                                                      : (rec.expected.empty() ? "" : "\n") + raw;
      continue;
    }
    if (line[0] == '#') continue;
    const auto [word, rest] = splitWord(line);
    if (word == "fixture") {
      f.fixture = rest;
    } else if (word == "database") {
      f.database = rest;
    } else if (word == "derived-cache") {
      std::istringstream values(rest);
      for (std::string v; values >> v;) {
        if (v != "on" && v != "off") f.problems.emplace_back(number, "derived-cache takes on/off");
        f.derivedCache.push_back(v == "on");
      }
    } else if (word == "query" || word == "error" || word == "error-contains") {
      rec = Record{};
      rec.kind = word == "query"   ? Record::Kind::Query
                 : word == "error" ? Record::Kind::Error
                                   : Record::Kind::ErrorContains;
      rec.title = rest;
      rec.line = number;
      state = State::Statement;
    } else {
      f.problems.emplace_back(number, "unknown line: " + line);
    }
  }
  finish();
  if (f.fixture.empty() == f.database.empty())
    f.problems.emplace_back(0, "names neither or both of fixture and database");
  if (f.records.empty()) f.problems.emplace_back(0, "has no records");
  return f;
}

fs::path casesDir() {
  return KV_JET_CASOS;
}

std::vector<std::string> caseFiles() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(casesDir()))
    if (e.path().extension() == ".test") names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string readAll(const fs::path& p) {
  std::ifstream in(p);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Where a file's statements run: select() and the derived-table reuse switch.
struct Target {
  std::function<kv::db::RowSet(const std::string&)> select;
  std::function<void(bool)> derivedCache;
  std::shared_ptr<void> keep;  // the engine or session behind the two
};

class JetCasos : public ::testing::TestWithParam<std::string> {};

TEST_P(JetCasos, GiveTheirRowsAndErrors) {
  const fs::path path = casesDir() / GetParam();
  const std::string file = path.string();
  const CaseFile cases = parse(path);
  for (const auto& [line, what] : cases.problems) ADD_FAILURE_AT(file.c_str(), line) << what;
  if (!cases.problems.empty()) return;

  Target target;
  if (!cases.fixture.empty()) {
    auto engine = std::make_shared<JetEngine>();
    engine->runSqlite(readAll(path.parent_path() / cases.fixture));
    target = {[engine](const std::string& sql) { return engine->select(sql); },
              [engine](bool on) { engine->setDerivedCache(on); }, engine};
  } else {
    const char* shared = std::getenv("KV_SHARED_DIR");
    const fs::path db = shared ? fs::path(shared) / "testdata" / cases.database : fs::path();
    if (db.empty() || !fs::exists(db)) GTEST_SKIP() << "no " << cases.database;
    std::shared_ptr<kv::db::Session> session = openJetSession(db.string(), "");
    target = {[session](const std::string& sql) { return session->select(sql); },
              [session](bool on) { setDerivedCache(*session, on); }, session};
  }

  std::vector<std::optional<bool>> modes(cases.derivedCache.begin(), cases.derivedCache.end());
  if (modes.empty()) modes.push_back(std::nullopt);
  for (const auto& mode : modes) {
    if (mode) target.derivedCache(*mode);
    const std::string when = !mode   ? ""
                             : *mode ? " (derived tables kept)"
                                     : " (derived tables off)";
    for (const Record& r : cases.records) {
      const std::string head = r.title + when + "\n  " + r.sql + "\n";
      try {
        const kv::db::RowSet rows = target.select(r.sql);
        if (r.kind != Record::Kind::Query)
          ADD_FAILURE_AT(file.c_str(), r.line)
              << head << "  gave rows, expected the error\n    " << r.expected;
        else if (const std::string got = rowSetText(rows); got != r.expected)
          ADD_FAILURE_AT(file.c_str(), r.line) << head << "  rows:\n"
                                               << showRows(got) << "  expected:\n"
                                               << showRows(r.expected);
      } catch (const kv::db::DbError& e) {
        const std::string message = e.what();
        const bool right = r.kind == Record::Kind::Error ? message == r.expected
                           : r.kind == Record::Kind::ErrorContains
                               ? message.find(r.expected) != std::string::npos
                               : false;
        if (!right || e.className() != "EJetError")
          ADD_FAILURE_AT(file.c_str(), r.line) << head << "  failed: " << e.describe();
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Casos, JetCasos, ::testing::ValuesIn(caseFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = fs::path(info.param).stem().string();
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
}  // namespace kv::jet
