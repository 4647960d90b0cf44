// The table reader's process: a crash, a hang, garbage or an early exit of the program
// becomes the engine's error, and the stream arrives whole otherwise. Stand-in helpers
// are small shell scripts that write to descriptor 3 as the reader does.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "data/db/error.h"
#include "jet/mdb/helper_process.h"
#include "jet/mdb/mdb_reader.h"
#include "tools/mdbwrite/mdbwriter.h"

extern char** environ;

namespace kv::jet {
namespace {

namespace fs = std::filesystem;

HelperCommand shell(const std::string& script, int timeoutMs = 60000) {
  return {{"/bin/bash", "-c", script}, timeoutMs, 0};
}

// The error of running `command` while reading its stream as strings of up to 1000 bytes.
std::string failure(const HelperCommand& command) {
  try {
    runHelper(command, [](PipeIn& in) {
      for (;;) in.bytes(1000);
    });
  } catch (const kv::db::DbError& e) {
    EXPECT_EQ(e.className(), "EJetError");
    return e.what();
  }
  return "sin error";
}

TEST(JetHelper, StreamsValuesWhole) {
  std::int64_t i = 0;
  double d = 0;
  std::string got;
  // -5 as i64, 2.5 as f64, then a string of 300000 'q' (length 0x000493E0).
  runHelper(shell("printf '\\xfb\\xff\\xff\\xff\\xff\\xff\\xff\\xff' >&3;"
                  "printf '\\x00\\x00\\x00\\x00\\x00\\x00\\x04\\x40' >&3;"
                  "printf '\\xe0\\x93\\x04\\x00' >&3; head -c 300000 /dev/zero | tr '\\0' q >&3"),
            [&](PipeIn& in) {
              i = in.i64();
              d = in.f64();
              got = std::string(in.bytes(1u << 20));
            });
  EXPECT_EQ(i, -5);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(got, std::string(300000, 'q'));
}

TEST(JetHelper, CrashHangGarbageAndEarlyExitBecomeErrors) {
  const struct {
    HelperCommand command;
    const char* error;
  } cases[] = {
      {shell("printf x >&3; kill -KILL $$"),
       "El archivo de Access está dañado o no se puede leer (el lector terminó con la señal 9)"},
      {shell("printf x >&3; exit 0"),
       "El archivo de Access está dañado o no se puede leer: el lector terminó antes de tiempo"},
      {shell("exit 3"),
       "El archivo de Access está dañado o no se puede leer: el lector terminó con error 3"},
      {shell("exec sleep 60", 300), "La lectura del archivo de Access no terminó a tiempo"},
      // A length beyond the reader's limit is refused, not allocated.
      {shell("printf '\\xf0\\xff\\xff\\xff' >&3"),
       "El archivo de Access está dañado o no se puede leer: longitud fuera de rango"},
      {{{"/no/existe/lector-mdb"}, 60000, 0},
       "El archivo de Access está dañado o no se puede leer: no se pudo iniciar el programa "
       "lector: no existe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command.argv.back());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(failure(c.command), c.error);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
  // Bytes after the last frame the caller expects are garbage too.
  try {
    runHelper(shell("printf 'ab' >&3"), [](PipeIn& in) { in.u8(); });
    ADD_FAILURE() << "sin error";
  } catch (const kv::db::DbError& e) {
    EXPECT_STREQ(e.what(),
                 "El archivo de Access está dañado o no se puede leer: respuesta inesperada del "
                 "lector");
  }
}

// The reader used by the tests is the build tree's, never an installed one.
TEST(JetReader, FoundInTheBuildTree) {
  const char* build = std::getenv("KV_BINARY_DIR");
  if (!build) GTEST_SKIP() << "KV_BINARY_DIR";
  EXPECT_EQ(readerProgram(),
            (fs::path(build) / "lib/cuestionario-operatividad/lector-mdb").string());
}

// Parent process id of `pid` from /proc, or 0 when it is gone or a zombie.
pid_t liveParentOf(pid_t pid) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(f, line)) return 0;
  const std::size_t close = line.rfind(')');
  if (close == std::string::npos || close + 4 >= line.size()) return 0;
  if (line[close + 2] == 'Z') return 0;
  return static_cast<pid_t>(std::atol(line.c_str() + close + 4));
}

// A reader whose parent is killed ends too, even when it cannot run to see its stream
// closed (stopped here): it has the kernel end it with its parent.
TEST(JetReader, EndsWithItsParent) {
  const fs::path dir = fs::temp_directory_path() / ("jet_padre_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "grande.mdb";
  {
    mdbw::DatabaseWriter w(file);
    w.beginTable("Grande",
                 {{"Id", mdbw::ColumnType::Long}, {"Texto", mdbw::ColumnType::Text, 200}});
    for (std::int64_t i = 0; i < 20000; ++i)
      w.addRow(std::vector<mdbw::Value>{i, std::string(150, 'x')});
    w.finish();
  }
  // The parent: a shell that starts the reader in the background, its stream going into
  // a pipe that the shell holds open and never reads.
  const fs::path fifo = dir / "flujo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string script = "exec 4<>'" + fifo.string() + "'; '" + readerProgram() +
                             "' --padre $$ tabla Grande '" + file.string() + "' 3>'" +
                             fifo.string() + "' & wait";
  const char* argv[] = {"/bin/bash", "-c", script.c_str(), nullptr};
  pid_t parent = 0;
  ASSERT_EQ(::posix_spawn(&parent, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ),
            0);
  pid_t reader = 0;
  for (int i = 0; i < 500 && reader == 0; ++i) {
    for (const auto& e : fs::directory_iterator("/proc")) {
      const std::string name = e.path().filename().string();
      if (name.find_first_not_of("0123456789") != std::string::npos) continue;
      // The reader itself (not the shell's fork before its exec), once it has written.
      const pid_t pid = std::atoi(name.c_str());
      if (liveParentOf(pid) != parent) continue;
      std::ifstream io("/proc/" + name + "/io");
      std::string key;
      long long written = 0;
      while (io >> key >> written && key != "wchar:") {
      }
      if (key == "wchar:" && written > 0) reader = pid;
    }
    if (reader == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_NE(reader, 0);
  ::kill(reader, SIGSTOP);
  ::kill(parent, SIGKILL);
  ::waitpid(parent, nullptr, 0);
  bool gone = false;
  for (int i = 0; i < 250 && !gone; ++i) {
    gone = liveParentOf(reader) == 0;
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!gone) ::kill(reader, SIGKILL);
  EXPECT_TRUE(gone);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kv::jet
