#include "data/jet/jet_provider.h"

#include <mutex>

#include "data/db/error.h"
#include "data/jet/jet_engine.h"
#include "data/jet/jet_messages.h"
#include "data/jet/mdb_header.h"
#include "data/jet/mdb_reader.h"

namespace kv::jet {

namespace {

class JetSession : public kv::db::Session {
 public:
  explicit JetSession(std::unique_ptr<TableSource> source) : engine_(std::move(source)) {
    engine_.setReadOnly(true);
  }
  kv::db::RowSet select(const std::string& sql) override { return engine_.select(sql); }
  void execute(const std::string& sql) override { engine_.execute(sql); }
  JetEngine& engine() { return engine_; }

 private:
  JetEngine engine_;
};

}  // namespace

std::unique_ptr<kv::db::Session> openJetSession(const std::string& path,
                                                const std::string& password) {
  if (path.empty()) throw kv::db::DbError(msg::kClass, msg::kNoDataSource);
  const MdbHeader header = readMdbHeader(path);
  checkMdbPassword(header, password);
  return std::make_unique<JetSession>(std::make_unique<MdbTableSource>(path, header.fileSize));
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
