// The helper process that shields the program from libmdb: a crash, a hang or an early
// exit of the child becomes the engine's error, and the stream arrives whole otherwise.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

#include "data/db/error.h"
#include "data/jet/helper_process.h"

namespace kv::jet {
namespace {

std::string failure(const std::function<void(PipeOut&)>& child) {
  try {
    runInHelper(child, [](PipeIn& in) {
      for (;;) in.u8();
    });
  } catch (const kv::db::DbError& e) {
    EXPECT_EQ(e.className(), "EJetError");
    return e.what();
  }
  return "sin error";
}

TEST(JetHelper, StreamsValuesWhole) {
  std::string big(300000, 'q');
  std::string got;
  std::int64_t i = 0;
  double d = 0;
  runInHelper(
      [&](PipeOut& out) {
        out.i64(-5);
        out.f64(2.5);
        out.bytes(big);
      },
      [&](PipeIn& in) {
        i = in.i64();
        d = in.f64();
        got = std::string(in.bytes(1u << 20));
      });
  EXPECT_EQ(i, -5);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(got, big);
}

TEST(JetHelper, CrashHangAndEarlyExitBecomeErrors) {
  EXPECT_NE(failure([](PipeOut& out) {
              out.u8(1);
              out.flush();
              ::raise(SIGKILL);  // uncatchable, also under the sanitizers
            }).find("señal"),
            std::string::npos);
  EXPECT_NE(failure([](PipeOut&) { _exit(0); }).find("antes de tiempo"), std::string::npos);
  setHelperTimeoutMs(300);
  EXPECT_NE(failure([](PipeOut&) {
              for (;;) ::pause();
            }).find("a tiempo"),
            std::string::npos);
  setHelperTimeoutMs(60000);
  // A length beyond the reader's limit is refused, not allocated.
  try {
    runInHelper([](PipeOut& out) { out.u32(0xFFFFFFF0u); }, [](PipeIn& in) { in.bytes(1000); });
    ADD_FAILURE() << "sin error";
  } catch (const kv::db::DbError& e) {
    EXPECT_NE(std::string(e.what()).find("longitud"), std::string::npos);
  }
}

}  // namespace
}  // namespace kv::jet
