#include "tests/tools/mdbwrite/lectores.h"

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "tools/mdbwrite/csv.h"

namespace kv::mdbw::test {

std::vector<std::string> TempDir::files() const {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(Ruta())) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

namespace {

// Standard output of a shell command, and its exit status.
CommandResult capture(const std::string& command) {
  struct Closer {
    void operator()(FILE* f) const {
      if (f) ::pclose(f);
    }
  };
  CommandResult r;
  FILE* raw = ::popen(command.c_str(), "r");
  if (!raw) throw std::runtime_error("popen failed: " + command);
  std::unique_ptr<FILE, Closer> pipe(raw);
  std::array<char, 65536> buf;
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe.get())) > 0) r.out.append(buf.data(), n);
  int status = ::pclose(pipe.release());
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace

CommandResult run(const std::string& command) {
  return capture(command + " 2>&1");
}

SplitResult runApart(const std::string& command) {
  TempDir dir;
  const auto err = dir / "stderr.txt";
  const CommandResult r = capture(command + " 2>" + shellQuote(err.string()));
  return {r.status, r.out, readFile(err)};
}

namespace {

ReadTable parse(const std::string& text, const std::string& nullText) {
  std::istringstream in(text);
  CsvReader csv(in);
  ReadTable t;
  std::vector<CsvField> fields;
  if (!csv.next(fields)) return t;
  for (auto& f : fields) t.header.push_back(f.text);
  while (csv.next(fields)) {
    TextRow row;
    for (auto& f : fields) {
      if (!f.quoted && f.text == nullText) {
        row.push_back(std::nullopt);
      } else {
        row.push_back(f.text);
      }
    }
    t.rows.push_back(std::move(row));
  }
  return t;
}

std::string node(const std::filesystem::path& file, const std::string& what) {
  CommandResult r = run("node " + shellQuote(KV_MDBREADER_DUMP) + " " + shellQuote(file.string()) +
                        " " + shellQuote(what));
  if (r.status != 0) throw std::runtime_error("mdb-reader failed: " + r.out);
  return r.out;
}

}  // namespace

ReadTable readWithMdbExport(const std::filesystem::path& file, const std::string& table) {
  CommandResult r = run("mdb-export -0 NUL -B -T '%Y-%m-%d %H:%M:%S' " + shellQuote(file.string()) +
                        " " + shellQuote(table));
  if (r.status != 0) throw std::runtime_error("mdb-export failed: " + r.out);
  return parse(r.out, "NUL");
}

ReadTable readWithMdbReader(const std::filesystem::path& file, const std::string& table) {
  return parse(node(file, table), "");
}

std::string passwordWithMdbReader(const std::filesystem::path& file) {
  std::string s = node(file, "--password");
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

std::vector<std::string> tablesWithMdbReader(const std::filesystem::path& file) {
  std::istringstream in(node(file, "--tables"));
  std::vector<std::string> names;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) names.push_back(line);
  }
  return names;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& file, const std::string& content) {
  std::ofstream out(file, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace kv::mdbw::test
