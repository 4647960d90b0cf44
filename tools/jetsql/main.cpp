// jetsql [--password P] [--tiempo-limite SEGUNDOS] FILE.mdb "SQL": prints the result
// rows of a Jet SELECT run by the system's engine: a header of column names, then one
// line per row, tab separated, null as \N. Errors go to standard error with exit status
// 1. Ctrl+C stops the statement (exit status 130; a second Ctrl+C ends at once), and so
// does the time limit when given (exit status 1).
#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

#include "data/db/error.h"
#include "data/jet/jet_messages.h"
#include "data/jet/jet_provider.h"
#include "data/jet/row_text.h"

namespace {

constexpr const char* kUsage =
    "Uso: jetsql [--password CONTRASEÑA] [--tiempo-limite SEGUNDOS] ARCHIVO.mdb \"SQL\"\n";

std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onInterrupt(int) {
  gInterrupted.store(true);
}

}  // namespace

int main(int argc, char** argv) {
  std::string password, file, sql;
  int positional = 0;
  long limitSeconds = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--password" && i + 1 < argc) {
      password = argv[++i];
    } else if (a.rfind("--password=", 0) == 0) {
      password = a.substr(11);
    } else if (a == "--tiempo-limite" && i + 1 < argc) {
      const std::string v = argv[++i];
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), limitSeconds);
      if (ec != std::errc() || end != v.data() + v.size() || limitSeconds <= 0) positional = 3;
    } else if (positional == 0) {
      file = a;
      ++positional;
    } else if (positional == 1) {
      sql = a;
      ++positional;
    } else {
      positional = 3;
    }
  }
  if (positional != 2) {
    std::cerr << kUsage;
    return 1;
  }
  struct sigaction sa {};
  sa.sa_handler = onInterrupt;
  sa.sa_flags = SA_RESETHAND;  // the second Ctrl+C ends the program as usual
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  try {
    auto session = kv::jet::openJetSession(file, password);
    kv::jet::setInterrupt(*session, &gInterrupted, std::chrono::seconds(limitSeconds));
    const std::string out = kv::jet::rowSetText(session->select(sql));
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (std::fflush(stdout) != 0) return 1;
    return 0;
  } catch (const kv::db::DbError& e) {
    // Ctrl+C also reaches the table reader, whose failure is then the interruption.
    if (gInterrupted.load()) {
      std::cerr << kv::db::DbError(kv::jet::msg::kClass, kv::jet::msg::kInterrupted).describe()
                << '\n';
      return 130;
    }
    std::cerr << e.describe() << '\n';
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
  }
  return 1;
}
