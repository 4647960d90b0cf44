#pragma once
// Keeps a waiting window alive during long database work. While a HeartbeatScope is
// alive on a thread, the database work that thread starts (opening a connection,
// running a statement) runs on a worker thread and the starting thread calls the
// scope's beat at least once per interval until the work ends.
#include <chrono>
#include <functional>

namespace kv::db {

class HeartbeatScope {
 public:
  HeartbeatScope(std::function<void()> beat, std::chrono::milliseconds interval);
  ~HeartbeatScope();
  HeartbeatScope(const HeartbeatScope&) = delete;
  HeartbeatScope& operator=(const HeartbeatScope&) = delete;

 private:
  friend void runWithHeartbeat(const std::function<void()>& work);
  friend void beat();
  std::function<void()> beat_;
  std::chrono::milliseconds interval_;
  HeartbeatScope* previous_;
};

// Calls this thread's heartbeat once, when one is set and no work of this thread is
// running: other slow work (writing a document, waiting for a converter) keeps the
// window alive through it too.
void beat();

// Runs work on this thread when no heartbeat is set; otherwise on a worker while this
// thread beats, and once more after it when this thread has not beaten for an interval
// (a run of short statements keeps the window alive too). The work's exception reaches
// the caller. Database work asked for from inside a beat is refused with DbError: the
// connection is busy with the running one.
void runWithHeartbeat(const std::function<void()>& work);

}  // namespace kv::db
