#pragma once
// The connection object of the system: a connection string, a mode, a login prompt
// setting and an open/closed state. On open it parses the string and asks the
// provider it names for a session.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/db/error.h"
#include "data/db/provider.h"

namespace kv::db {

// Parses an OLE DB connection string "Key=Value;Key2='quoted;value';…": keys are
// returned in lower case and trimmed, values unquoted ('…' or "…", doubled quotes
// inside). Throws DbError on an unterminated quote.
std::vector<std::pair<std::string, std::string>> parseConnectionString(const std::string& text);

class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void setConnectionString(const std::string& text) { connectionString_ = text; }
  const std::string& connectionString() const { return connectionString_; }
  void setMode(ConnectMode mode) { mode_ = mode; }
  ConnectMode mode() const { return mode_; }
  void setLoginPrompt(bool on) { loginPrompt_ = on; }
  bool loginPrompt() const { return loginPrompt_; }

  // true opens (throws DbError when the provider refuses), false closes.
  void setConnected(bool on);
  bool connected() const { return session_ != nullptr; }

  // The open session; throws DbError when the connection is closed.
  Session& session();

  // Session::beginCommand on the open session (under the heartbeat, as any database
  // work). Throws DbError, also when the connection is closed.
  void beginCommand();
  // Session::readCurrent on the open session; nothing when the connection is closed.
  void readCurrent(const std::string& table);

 private:
  std::string connectionString_;
  ConnectMode mode_ = ConnectMode::Unknown;
  bool loginPrompt_ = true;
  std::unique_ptr<Session> session_;
};

}  // namespace kv::db
