#include "jet/jet_provider.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>

#include "data/db/error.h"
#include "jet/jet_engine.h"
#include "jet/mdb/mdb_header.h"
#include "jet/mdb/mdb_reader.h"
#include "jet/sql/jet_text.h"
#include "jet/textos.h"

namespace kv::jet {

namespace {

using kv::db::DbError;

// What tells one state of the file from another: a change of any part means the file
// was written (in place or replaced) since it was looked at.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t mtimeSec = 0;
  std::int64_t mtimeNsec = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t headerSum = 0;  // FNV-1a of the header page
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file as it is now; nothing when it cannot be read (the open that
// follows says why).
std::optional<FileStamp> fileStamp(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  FileStamp f;
  f.size = static_cast<std::uint64_t>(st.st_size);
  f.mtimeSec = st.st_mtim.tv_sec;
  f.mtimeNsec = st.st_mtim.tv_nsec;
  f.device = static_cast<std::uint64_t>(st.st_dev);
  f.inode = static_cast<std::uint64_t>(st.st_ino);
  unsigned char page[4096];
  std::size_t got = 0;
  while (got < sizeof page) {
    const ssize_t n = ::read(fd, page + got, sizeof page - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (std::size_t i = 0; i < got; ++i) h = (h ^ page[i]) * 0x100000001b3ULL;
  f.headerSum = h;
  return f;
}

// The tables of the file as the session's snapshot saw it: a table loaded after the
// file changed would mix two states of the database, so that load fails instead. A
// table asked for as it is now is loaded whatever the state.
class SnapshotSource : public TableSource {
 public:
  SnapshotSource(std::string path, std::uint64_t fileSize, const FileStamp& stamp,
                 const std::set<std::string>& current)
      : path_(path), reader_(std::move(path), fileSize), stamp_(stamp), current_(current) {}

  const std::vector<std::string>& tableNames() const override { return reader_.tableNames(); }
  void loadTable(const std::string& name, TableWriter& writer) override {
    reader_.loadTable(name, writer);
    // Checked after the load: a change before or during it shows then.
    if (!current_.count(toUpper(name)) && fileStamp(path_) != stamp_)
      throw DbError(textos_jet::kClass, textos_jet::kChangedDuringCommand);
  }

 private:
  std::string path_;
  MdbTableSource reader_;
  const FileStamp& stamp_;
  const std::set<std::string>& current_;
};

class JetSession : public kv::db::Session {
 public:
  JetSession(std::string path, std::string password)
      : path_(std::move(path)), password_(std::move(password)) {
    engine_.setReadOnly(true);
    engine_.replaceSource(openSource());
  }
  kv::db::RowSet select(const std::string& sql) override {
    checkUsable();
    auto rows = engine_.select(sql);
    current_.clear();
    return rows;
  }
  void selectInto(const std::string& sql, kv::db::RowSink& sink) override {
    checkUsable();
    engine_.selectInto(sql, sink);
    current_.clear();
  }
  void execute(const std::string& sql) override {
    checkUsable();
    engine_.execute(sql);
    current_.clear();
  }
  void shareMemory(int n) override { engine_.shareCaches(n); }
  void foresee(const std::vector<std::string>& statements) override {
    checkUsable();
    engine_.foresee(statements);
  }
  void beginCommand() override {
    try {
      if (failure_ || fileStamp(path_) != stamp_) engine_.replaceSource(openSource());
      failure_.reset();
    } catch (const DbError& e) {
      // Nothing read from an earlier state of the file may answer from now on.
      failure_ = e;
      engine_.replaceSource(nullptr);
      throw;
    }
  }
  void readCurrent(const std::string& table) override {
    engine_.forgetTable(table);
    current_.insert(toUpper(table));
  }
  JetEngine& engine() { return engine_; }

 private:
  // The file as it is now: its header checked again, its tables listed again.
  std::unique_ptr<TableSource> openSource() {
    // Taken first: a change while the header is read or the tables are listed fails the
    // first load.
    const auto stamp = fileStamp(path_);
    const MdbHeader header = readMdbHeader(path_);
    checkMdbPassword(header, password_);
    if (!stamp) throw DbError(textos_jet::kClass, textos_jet::kChangedDuringCommand);
    auto source = std::make_unique<SnapshotSource>(path_, header.fileSize, stamp_, current_);
    stamp_ = *stamp;
    return source;
  }
  void checkUsable() const {
    if (failure_) throw *failure_;
  }

  std::string path_, password_;
  FileStamp stamp_;
  std::set<std::string> current_;  // upper-cased names read as they are now
  std::optional<DbError> failure_;
  JetEngine engine_;
};

}  // namespace

std::unique_ptr<kv::db::Session> openJetSession(const std::string& path,
                                                const std::string& password) {
  if (path.empty()) throw kv::db::DbError(textos_jet::kClass, textos_jet::kNoDataSource);
  return std::make_unique<JetSession>(path, password);
}

bool setDerivedCache(kv::db::Session& session, bool on) {
  auto* jet = dynamic_cast<JetSession*>(&session);
  if (!jet) return false;
  jet->engine().setDerivedCache(on);
  return true;
}

bool setInterrupt(kv::db::Session& session, const std::atomic<bool>* flag,
                  std::chrono::milliseconds limit) {
  auto* jet = dynamic_cast<JetSession*>(&session);
  if (!jet) return false;
  jet->engine().setInterrupt(flag, limit);
  return true;
}

void registerJetProvider() {
  static std::once_flag once;
  std::call_once(once, [] {
    kv::db::registerProvider(
        "Microsoft.Jet.OLEDB.4.0",
        [](const std::vector<std::pair<std::string, std::string>>& items, kv::db::ConnectMode) {
          // The file is only ever read, whatever the mode asks for.
          std::string path, password;
          for (const auto& [k, v] : items) {
            if (k == "data source") path = v;
            if (k == "jet oledb:database password") password = v;
          }
          return openJetSession(path, password);
        });
  });
}

}  // namespace kv::jet
