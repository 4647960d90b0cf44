#include "data/db/connection.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>

#include "data/db/heartbeat.h"
#include "data/db/textos.h"
#include "diag/texto.h"

namespace kv::db {

namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::map<std::string, ProviderFactory>& providers() {
  static std::map<std::string, ProviderFactory> table;
  return table;
}

const char* const kClass = textos_db::kClassConnection;

}  // namespace

void registerProvider(const std::string& name, ProviderFactory factory) {
  providers()[lower(name)] = std::move(factory);
}

std::vector<std::pair<std::string, std::string>> parseConnectionString(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> items;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    std::size_t eq = text.find('=', i);
    std::size_t semi = text.find(';', i);
    if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
      // An item without "=" carries no setting; skip it.
      if (semi == std::string::npos) break;
      i = semi + 1;
      continue;
    }
    std::string key = lower(Recorta(text.substr(i, eq - i)));
    i = eq + 1;
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::string value;
    if (i < n && (text[i] == '\'' || text[i] == '"')) {
      char q = text[i++];
      bool closed = false;
      while (i < n) {
        if (text[i] == q) {
          if (i + 1 < n && text[i + 1] == q) {
            value += q;
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        value += text[i++];
      }
      if (!closed) throw DbError(kClass, textos_db::kUnclosedQuote);
      while (i < n && text[i] != ';') ++i;
    } else {
      std::size_t end = text.find(';', i);
      if (end == std::string::npos) end = n;
      value = Recorta(text.substr(i, end - i));
      i = end;
    }
    if (i < n && text[i] == ';') ++i;
    if (!key.empty()) items.emplace_back(std::move(key), std::move(value));
  }
  return items;
}

ProviderFactory findProvider(const std::string& name) {
  auto it = providers().find(lower(name));
  return it == providers().end() ? ProviderFactory{} : it->second;
}

Connection::~Connection() = default;

void Connection::setConnected(bool on) {
  if (!on) {
    session_.reset();
    return;
  }
  if (session_) return;
  auto items = parseConnectionString(connectionString_);
  std::string provider;
  for (const auto& [k, v] : items)
    if (k == "provider") provider = v;
  if (provider.empty()) throw DbError(kClass, textos_db::kNoProvider);
  auto it = providers().find(lower(provider));
  if (it == providers().end() || !it->second)
    throw DbError(kClass, textos_db::providerUnavailable(provider));
  const ProviderFactory factory = it->second;  // a copy: events served meanwhile may re-register
  std::unique_ptr<Session> session;
  runWithHeartbeat([&] { session = factory(items, mode_); });
  session_ = std::move(session);
  if (!session_) throw DbError(kClass, textos_db::providerOpenedNothing(provider));
}

Session& Connection::session() {
  if (!session_) throw DbError(kClass, textos_db::kConnectionClosed);
  return *session_;
}

void Connection::beginCommand() {
  Session& s = session();
  runWithHeartbeat([&] { s.beginCommand(); });
}

void Connection::readCurrent(const std::string& table) {
  if (session_) session_->readCurrent(table);
}

}  // namespace kv::db
