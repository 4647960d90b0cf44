#pragma once
// The "Microsoft.Jet.OLEDB.4.0" provider of the database layer: opens an Access
// .mdb file read only and runs the system's Jet SQL on it.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "data/db/provider.h"

namespace kv::jet {

// Registers the provider with kv::db (safe to call more than once).
void registerJetProvider();

// Opens a session on `path` directly (jetsql, tests). Throws DbError ("EJetError").
std::unique_ptr<kv::db::Session> openJetSession(const std::string& path,
                                                const std::string& password);

// Switches the reuse of recurring derived tables on or off on an open Jet session (off
// also drops what was kept). False when the session is not a Jet one.
bool setDerivedCache(kv::db::Session& session, bool on);

// Lets `*flag` (and a time limit per statement, zero for none) stop the statements of a
// Jet session (JetEngine::setInterrupt). False when the session is not a Jet one.
bool setInterrupt(kv::db::Session& session, const std::atomic<bool>* flag,
                  std::chrono::milliseconds limit);

}  // namespace kv::jet
