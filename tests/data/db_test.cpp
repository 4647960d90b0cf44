#include <gtest/gtest.h>

#include "data/db/connection.h"
#include "data/db/query.h"
#include "data/db/value.h"

namespace kv::db {
namespace {

TEST(FormatNumber, ShortestFormWithDotSeparator) {
  const std::pair<double, const char*> cases[] = {
      {19.26, "19.26"},   {20, "20"},
      {18.5, "18.5"},     {-3, "-3"},
      {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
      {0, "0"},           {1234567.891, "1234567.891"},
  };
  for (const auto& [d, text] : cases) EXPECT_EQ(formatNumber(d), text) << d;
}

TEST(ValueText, KindsToText) {
  EXPECT_EQ(Value().toString(), "");
  EXPECT_EQ(Value(std::int64_t{-1}).toString(), "-1");
  EXPECT_EQ(Value(2.5).toString(), "2.5");
  EXPECT_EQ(Value(DateTime{43830.0}).toString(), "31/12/2019");
  EXPECT_EQ(Value(DateTime{43830.5}).toString(), "31/12/2019 12:00:00");
  EXPECT_EQ(Value(DateTime{0}).toString(), "30/12/1899");
  EXPECT_EQ(Value("12.5").toDouble(), 12.5);
}

TEST(ConnectionString, KeysLowerCaseValuesUnquoted) {
  auto items = parseConnectionString(
      "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a b\\K.mdb;Persist Security Info=True;"
      "Mode=Share Deny None;Jet OLEDB:Database Password='qu;ok''ka'");
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0], (std::pair<std::string, std::string>{"provider", "Microsoft.Jet.OLEDB.4.0"}));
  EXPECT_EQ(items[1].second, "C:\\a b\\K.mdb");
  EXPECT_EQ(items[4],
            (std::pair<std::string, std::string>{"jet oledb:database password", "qu;ok'ka"}));
  EXPECT_THROW(parseConnectionString("Password='abc"), DbError);
}

TEST(ConnectionOpen, UnknownProviderAndClosedQueryFail) {
  Connection c;
  c.setConnectionString("Provider=Nada.1;Data Source=x");
  EXPECT_THROW(c.setConnected(true), DbError);
  EXPECT_FALSE(c.connected());
  Query q(&c);
  q.addSql("SELECT 1");
  EXPECT_THROW(q.open(), DbError);
  EXPECT_FALSE(q.active());
}

}  // namespace
}  // namespace kv::db
