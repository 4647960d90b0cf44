#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "data/db/connection.h"
#include "data/db/heartbeat.h"
#include "data/db/query.h"

namespace kv::db {
namespace {

using namespace std::chrono_literals;

// Blocks until `beats` reaches n (false when it never does within a generous limit).
bool WaitForBeats(const std::atomic<int>& beats, int n) {
  const auto limit = std::chrono::steady_clock::now() + 20s;
  while (beats.load() < n)
    if (std::chrono::steady_clock::now() > limit)
      return false;
    else
      std::this_thread::sleep_for(1ms);
  return true;
}

// A provider whose every operation waits until the caller has beaten a few times, and
// records the thread it ran on.
struct SlowProvider {
  static inline std::atomic<int>* beats = nullptr;
  static inline std::thread::id lastThread;
  class Session : public db::Session {
   public:
    RowSet select(const std::string& sql) override {
      lastThread = std::this_thread::get_id();
      RowSet rs;
      rs.columns = {"sql"};
      rs.rows.push_back({Value(WaitForBeats(*beats, 3) ? sql : std::string("sin latidos"))});
      return rs;
    }
    void execute(const std::string& sql) override {
      lastThread = std::this_thread::get_id();
      if (sql == "falla") throw DbError("EPrueba", "falló a propósito");
    }
  };
  static void Register() {
    registerProvider("Prueba.Lento", [](const auto&, ConnectMode) {
      lastThread = std::this_thread::get_id();
      WaitForBeats(*beats, 1);
      return std::make_unique<Session>();
    });
  }
};

TEST(Heartbeat, WithoutScopeWorkRunsOnTheCallingThread) {
  std::thread::id ran;
  runWithHeartbeat([&] { ran = std::this_thread::get_id(); });
  EXPECT_EQ(ran, std::this_thread::get_id());
  EXPECT_THROW(runWithHeartbeat([] { throw DbError("EPrueba", "x"); }), DbError);
}

// Works each shorter than the interval, one after another, still beat about once per
// interval: a window answering a run of quick statements does not wait for the whole run.
TEST(Heartbeat, ARunOfShortWorksBeatsOncePerInterval) {
  std::vector<std::chrono::steady_clock::time_point> beats;
  HeartbeatScope scope([&] { beats.push_back(std::chrono::steady_clock::now()); }, 40ms);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 40; ++i) runWithHeartbeat([] { std::this_thread::sleep_for(5ms); });
  const auto t1 = std::chrono::steady_clock::now();
  ASSERT_GE(beats.size(), 2u);
  // No stretch without a beat much longer than the interval plus one work.
  auto previous = t0;
  for (const auto& b : beats) {
    EXPECT_LT(b - previous, 150ms);
    previous = b;
  }
  EXPECT_LT(t1 - previous, 150ms);
}

TEST(Heartbeat, QueriesAndOpenBeatOnTheCallerWhileAWorkerWaits) {
  std::atomic<int> beats{0};
  SlowProvider::beats = &beats;
  SlowProvider::Register();
  const auto caller = std::this_thread::get_id();
  bool beatOnCaller = true;
  HeartbeatScope scope(
      [&] {
        beatOnCaller = beatOnCaller && std::this_thread::get_id() == caller;
        ++beats;
      },
      1ms);

  Connection c;
  c.setConnectionString("Provider=Prueba.Lento");
  c.setConnected(true);
  EXPECT_TRUE(c.connected());
  EXPECT_NE(SlowProvider::lastThread, caller);

  Query q(&c);
  q.addSql("SELECT 1");
  beats = 0;
  q.open();
  EXPECT_EQ(q.fieldByName("sql").toString(), "SELECT 1");
  EXPECT_NE(SlowProvider::lastThread, caller);
  EXPECT_TRUE(beatOnCaller);

  // The worker's failure reaches the caller as it was raised.
  Query f(&c);
  f.addSql("falla");
  try {
    f.execSql();
    FAIL() << "no exception";
  } catch (const DbError& e) {
    EXPECT_EQ(e.describe(), "EPrueba - falló a propósito");
  }
}

TEST(Heartbeat, WorkAskedForInsideABeatIsRefusedAndTheRunningOneFinishes) {
  std::atomic<int> beats{0};
  std::string refused;
  bool nestedRan = false;
  {
    HeartbeatScope scope(
        [&] {
          if (beats++ != 0) return;
          try {
            runWithHeartbeat([&] { nestedRan = true; });
          } catch (const DbError& e) {
            refused = e.describe();
          }
        },
        1ms);
    bool finished = false;
    runWithHeartbeat([&] { finished = WaitForBeats(beats, 2); });
    EXPECT_TRUE(finished);
    // Once the work is over the thread may start new work.
    bool again = false;
    runWithHeartbeat([&] { again = true; });
    EXPECT_TRUE(again);
  }
  EXPECT_FALSE(nestedRan);
  EXPECT_EQ(refused, "EConexionBD - La conexión está ocupada con otra operación");
}

// beat() calls the thread's heartbeat once: never without a scope, never on another
// thread, and never from inside the heartbeat's own waiting (no beat within a beat).
TEST(HeartbeatBeat, CallsTheScopeOfThisThreadOnly) {
  int beats = 0;
  beat();  // no scope: nothing happens
  {
    HeartbeatScope scope([&] { ++beats; }, 10ms);
    beat();
    EXPECT_EQ(beats, 1);
    std::thread([] { beat(); }).join();  // another thread has no scope
    EXPECT_EQ(beats, 1);
    std::atomic<int> inner{0};
    HeartbeatScope nested(
        [&] {
          ++inner;
          beat();  // inside the waiting of runWithHeartbeat: refused quietly
        },
        10ms);
    runWithHeartbeat([&] { WaitForBeats(inner, 2); });
    EXPECT_GE(inner.load(), 2);
    EXPECT_EQ(beats, 1);
  }
  beat();
  EXPECT_EQ(beats, 1);
}

}  // namespace
}  // namespace kv::db
