#include "data/db/heartbeat.h"

#include <future>

#include "data/db/error.h"
#include "data/db/textos.h"

namespace kv::db {

namespace {
thread_local HeartbeatScope* tScope = nullptr;
thread_local bool tWorking = false;  // work of this thread is running on a worker
// When this thread last beat: a run of short works, each done before the interval, must
// not keep the window waiting for the whole run.
thread_local std::chrono::steady_clock::time_point tLastBeat{};

void Beat(const std::function<void()>& f) {
  tLastBeat = std::chrono::steady_clock::now();
  try {
    f();
  } catch (...) {
    // A failing beat must not abandon the work the worker is still doing.
  }
}
}  // namespace

HeartbeatScope::HeartbeatScope(std::function<void()> beat, std::chrono::milliseconds interval)
    : beat_(std::move(beat)), interval_(interval), previous_(tScope) {
  tScope = this;
}

HeartbeatScope::~HeartbeatScope() {
  tScope = previous_;
}

void beat() {
  if (tScope && tScope->beat_ && !tWorking) {
    tLastBeat = std::chrono::steady_clock::now();
    tScope->beat_();
  }
}

void runWithHeartbeat(const std::function<void()>& work) {
  if (tWorking) throw DbError(textos_db::kClassConnection, textos_db::kConnectionBusy);
  HeartbeatScope* scope = tScope;
  if (!scope || !scope->beat_) {
    work();
    return;
  }
  tWorking = true;
  struct Fin {
    ~Fin() { tWorking = false; }
  } fin;
  // The future's end waits for the worker on every path, so `work` outlives it.
  auto done = std::async(std::launch::async, [&work] { work(); });
  while (done.wait_for(scope->interval_) != std::future_status::ready) Beat(scope->beat_);
  done.get();
  if (std::chrono::steady_clock::now() - tLastBeat >= scope->interval_) Beat(scope->beat_);
}

}  // namespace kv::db
