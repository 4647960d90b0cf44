#include "jet/sql/sqlite_functions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/db/c_numbers.h"
#include "data/db/error.h"
#include "jet/sql/jet_text.h"
#include "jet/textos.h"

namespace kv::jet {

namespace {

// Every callback runs under SQLite's C frames: no exception may leave it.
template <typename F>
void guarded(sqlite3_context* ctx, F f) {
  try {
    f();
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(ctx);
  } catch (const std::exception& e) {
    sqlite3_result_error(ctx, e.what(), -1);
  } catch (...) {
    sqlite3_result_error(ctx, textos_jet::kTypeMismatch, -1);
  }
}

std::string_view textOf(sqlite3_value* v) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
  return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_value_bytes(v)))
           : std::string_view();
}

// A Variant number: whole or real.
struct Num {
  bool isInt = true;
  std::int64_t i = 0;
  double d = 0;
  double real() const { return isInt ? static_cast<double>(i) : d; }
};

// Jet converts numeric-looking text to a number; other text is a type mismatch.
bool parseNumericText(std::string_view s, Num& out) {
  std::string t(s);
  const auto b = t.find_first_not_of(' ');
  if (b == std::string::npos) return false;
  const auto e = t.find_last_not_of(' ');
  t = t.substr(b, e - b + 1);
  char* end = nullptr;
  if (t.find_first_of(".eE") == std::string::npos) {
    errno = 0;
    long long v = std::strtoll(t.c_str(), &end, 10);
    if (*end == '\0' && errno == 0) {
      out = {true, v, 0};
      return true;
    }
  }
  double d = kv::db::strtodC(t.c_str(), &end);
  if (*end != '\0' || !std::isfinite(d) || t.find_first_of("xXnN") != std::string::npos)
    return false;
  out = {false, 0, d};
  return true;
}

// Returns false for null; throws on a value that is not a number.
bool number(sqlite3_value* v, Num& out) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
      return false;
    case SQLITE_INTEGER:
      out = {true, sqlite3_value_int64(v), 0};
      return true;
    case SQLITE_FLOAT:
      out = {false, 0, sqlite3_value_double(v)};
      return true;
    case SQLITE_TEXT:
      if (parseNumericText(textOf(v), out)) return true;
      [[fallthrough]];
    default:
      throw kv::db::DbError(textos_jet::kClass, textos_jet::kTypeMismatch);
  }
}

void resultNum(sqlite3_context* ctx, const Num& n) {
  if (n.isInt)
    sqlite3_result_int64(ctx, n.i);
  else
    sqlite3_result_double(ctx, n.d);
}

// Text form of any non-null value (numbers as CStr does).
std::string asText(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
      return std::to_string(sqlite3_value_int64(v));
    case SQLITE_FLOAT:
      return cstrNumber(sqlite3_value_double(v));
    default:
      return std::string(textOf(v));
  }
}

void resultText(sqlite3_context* ctx, const std::string& s) {
  sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

enum class Arith { Add, Sub, Mul };

// A result beyond a Double's range is Jet's overflow, not infinity.
double finite(double d) {
  if (!std::isfinite(d)) throw kv::db::DbError(textos_jet::kClass, textos_jet::kOverflow);
  return d;
}

Num arith(Arith op, const Num& a, const Num& b) {
  if (a.isInt && b.isInt) {
    std::int64_t r;
    bool of = op == Arith::Add   ? __builtin_add_overflow(a.i, b.i, &r)
              : op == Arith::Sub ? __builtin_sub_overflow(a.i, b.i, &r)
                                 : __builtin_mul_overflow(a.i, b.i, &r);
    if (!of) return {true, r, 0};
  }
  const double x = a.real(), y = b.real();
  return {false, 0, finite(op == Arith::Add ? x + y : op == Arith::Sub ? x - y : x * y)};
}

// a op b op c …, from the left, as nested pairs would give: null from the first null on
// (nothing after it is looked at, and an operand is only converted once the next one is
// not null); + joins texts while both sides are texts.
template <Arith op>
void fnArith(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (argc < 2) throw kv::db::DbError(textos_jet::kClass, textos_jet::kBadArgument);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::string text;
    bool isText = false, started = false;
    Num acc;
    for (int k = 1; k < argc; ++k) {
      sqlite3_value* v = argv[k];
      if (sqlite3_value_type(v) == SQLITE_NULL) return sqlite3_result_null(ctx);
      const bool vText = sqlite3_value_type(v) == SQLITE_TEXT;
      if (!started) {
        started = true;
        if (op == Arith::Add && vText && sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
          isText = true;
          text = textOf(argv[0]);
        } else {
          number(argv[0], acc);
        }
      }
      if (isText && vText) {
        text += textOf(v);
        continue;
      }
      if (isText) {
        if (!parseNumericText(text, acc))
          throw kv::db::DbError(textos_jet::kClass, textos_jet::kTypeMismatch);
        isText = false;
      }
      Num b;
      number(v, b);
      acc = arith(op, acc, b);
    }
    if (isText) return resultText(ctx, text);
    resultNum(ctx, acc);
  });
}

void fnNeg(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    Num a;
    if (!number(argv[0], a)) return sqlite3_result_null(ctx);
    if (a.isInt && a.i != INT64_MIN) return sqlite3_result_int64(ctx, -a.i);
    sqlite3_result_double(ctx, -a.real());
  });
}

// a / b / c …, from the left; every operand is checked as nested pairs would check it.
void fnDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (argc < 2) throw kv::db::DbError(textos_jet::kClass, textos_jet::kBadArgument);
    Num a, b;
    bool have = number(argv[0], a);
    double acc = a.real();
    for (int k = 1; k < argc; ++k) {
      const bool hb = number(argv[k], b);
      if (!have || !hb) {
        have = false;
        continue;
      }
      if (b.real() == 0) throw kv::db::DbError(textos_jet::kClass, textos_jet::kDivByZero);
      acc = finite(acc / b.real());
    }
    if (!have) return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, acc);
  });
}

// \ and MOD round both operands to whole numbers (half to even) first.
std::int64_t wholeOperand(const Num& n) {
  if (n.isInt) return n.i;
  const double r = std::nearbyint(n.d);
  if (!(std::fabs(r) < 9.2e18)) throw kv::db::DbError(textos_jet::kClass, textos_jet::kOverflow);
  return static_cast<std::int64_t>(r);
}

template <bool isMod>
void fnIntDiv(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (argc < 2) throw kv::db::DbError(textos_jet::kClass, textos_jet::kBadArgument);
    Num a, b;
    bool have = number(argv[0], a), whole = false;
    std::int64_t x = 0;
    for (int k = 1; k < argc; ++k) {
      const bool hb = number(argv[k], b);
      if (!have || !hb) {
        have = false;
        continue;
      }
      if (!whole) x = wholeOperand(a);
      whole = true;
      const std::int64_t y = wholeOperand(b);
      if (y == 0) throw kv::db::DbError(textos_jet::kClass, textos_jet::kDivByZero);
      if (y == -1) {
        // The one quotient a whole number cannot hold.
        if (!isMod && x == INT64_MIN)
          throw kv::db::DbError(textos_jet::kClass, textos_jet::kOverflow);
        x = isMod ? 0 : -x;
      } else {
        x = isMod ? x % y : x / y;
      }
    }
    if (!have) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, x);
  });
}

// a & b & c …: nulls count as empty texts; null only when every operand is.
void fnConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    std::string s;
    bool any = false;
    for (int k = 0; k < argc; ++k) {
      if (sqlite3_value_type(argv[k]) == SQLITE_NULL) continue;
      any = true;
      s += asText(argv[k]);
    }
    if (!any) return sqlite3_result_null(ctx);
    resultText(ctx, s);
  });
}

template <std::string (*F)(std::string_view)>
void fnCase(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    resultText(ctx, F(asText(argv[0])));
  });
}

void fnStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    Num a;
    if (!number(argv[0], a)) return sqlite3_result_null(ctx);
    resultText(ctx, a.isInt ? strOfInteger(a.i) : strOfNumber(a.d));
  });
}

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  guarded(ctx, [&] {
    Num a, n;
    if (!number(argv[0], a)) return sqlite3_result_null(ctx);
    int digits = 0;
    if (argc > 1) {
      if (!number(argv[1], n)) return sqlite3_result_null(ctx);
      const std::int64_t d = wholeOperand(n);
      if (d < 0 || d > 300) throw kv::db::DbError(textos_jet::kClass, textos_jet::kBadArgument);
      digits = static_cast<int>(d);
    }
    if (a.isInt) return sqlite3_result_int64(ctx, a.i);
    sqlite3_result_double(ctx, roundHalfEven(a.d, digits));
  });
}

template <int which>  // 0 both sides, 1 left, 2 right
void fnTrim(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::string s = asText(argv[0]);
    if (which != 2) s.erase(0, std::min(s.size(), s.find_first_not_of(' ')));
    if (which != 1) {
      const auto e = s.find_last_not_of(' ');
      s.erase(e == std::string::npos ? 0 : e + 1);
    }
    resultText(ctx, s);
  });
}

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const std::string s = asText(argv[0]);
    std::int64_t count = 0;
    for (std::size_t i = 0; i < s.size();) {
      nextChar(s, i);
      ++count;
    }
    sqlite3_result_int64(ctx, count);
  });
}

void fnAbs(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    Num a;
    if (!number(argv[0], a)) return sqlite3_result_null(ctx);
    if (a.isInt && a.i != INT64_MIN) return sqlite3_result_int64(ctx, a.i < 0 ? -a.i : a.i);
    sqlite3_result_double(ctx, std::fabs(a.real()));
  });
}

// ---- LIKE with Jet's ANSI-92 wildcards ----

struct PatTok {
  enum Kind { Lit, Any, One, Set } kind;
  char32_t c = 0;
  bool negate = false;
  std::vector<std::pair<char32_t, char32_t>> ranges = {};

  static PatTok of(Kind k, char32_t ch = 0) {
    PatTok t{k};
    t.c = ch;
    return t;
  }
};

std::vector<PatTok> compilePattern(std::string_view p) {
  std::vector<PatTok> out;
  std::size_t i = 0;
  while (i < p.size()) {
    const char32_t c = nextChar(p, i);
    if (c == U'%') {
      if (out.empty() || out.back().kind != PatTok::Any) out.push_back(PatTok::of(PatTok::Any));
    } else if (c == U'_') {
      out.push_back(PatTok::of(PatTok::One));
    } else if (c == U'[') {
      PatTok t = PatTok::of(PatTok::Set);
      bool closed = false, first = true;
      while (i < p.size()) {
        char32_t x = nextChar(p, i);
        if (x == U']') {
          closed = true;
          break;
        }
        if (first && x == U'!') {
          t.negate = true;
          first = false;
          continue;
        }
        first = false;
        char32_t hi = x;
        if (i + 1 < p.size() && p[i] == '-' && p[i + 1] != ']') {
          ++i;
          hi = nextChar(p, i);
        }
        t.ranges.emplace_back(x, hi);
      }
      if (!closed) throw kv::db::DbError(textos_jet::kClass, textos_jet::kBadPattern);
      if (t.ranges.empty() && !t.negate) continue;  // "[]" matches nothing: zero-length
      out.push_back(std::move(t));
    } else {
      out.push_back(PatTok::of(PatTok::Lit, upperChar(c)));
    }
  }
  return out;
}

bool tokMatches(const PatTok& t, char32_t upper) {
  switch (t.kind) {
    case PatTok::Lit:
      return t.c == upper;
    case PatTok::One:
      return true;
    case PatTok::Set: {
      const char32_t lower = lowerChar(upper);
      bool in = false;
      for (const auto& [lo, hi] : t.ranges) {
        if ((upper >= lo && upper <= hi) || (lower >= lo && lower <= hi) ||
            (upperChar(lo) <= upper && upper <= upperChar(hi)))
          in = true;
      }
      return in != t.negate;
    }
    case PatTok::Any:
      break;
  }
  return false;
}

bool likeMatch(const std::vector<PatTok>& pat, std::string_view text) {
  std::vector<char32_t> s;
  s.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) s.push_back(upperChar(nextChar(text, i)));
  std::size_t pi = 0, si = 0, starP = SIZE_MAX, starS = 0;
  while (si < s.size()) {
    if (pi < pat.size() && pat[pi].kind == PatTok::Any) {
      starP = pi++;
      starS = si;
    } else if (pi < pat.size() && tokMatches(pat[pi], s[si])) {
      ++pi;
      ++si;
    } else if (starP != SIZE_MAX) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < pat.size() && pat[pi].kind == PatTok::Any) ++pi;
  return pi == pat.size();
}

void deletePattern(void* p) {
  delete static_cast<std::vector<PatTok>*>(p);
}

void fnLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
      return sqlite3_result_null(ctx);
    const std::string text = asText(argv[0]);
    if (auto* pat = static_cast<std::vector<PatTok>*>(sqlite3_get_auxdata(ctx, 1)))
      return sqlite3_result_int(ctx, likeMatch(*pat, text) ? 1 : 0);
    auto compiled = std::make_unique<std::vector<PatTok>>(compilePattern(asText(argv[1])));
    sqlite3_result_int(ctx, likeMatch(*compiled, text) ? 1 : 0);
    // SQLite keeps the compiled pattern for the next rows (or frees it at once).
    sqlite3_set_auxdata(ctx, 1, compiled.release(), deletePattern);
  });
}

// ---- SUM / AVG: exact over values with at most 4 decimals (Currency) ----

struct SumState {
  std::int64_t count = 0;
  bool allInt = true, intOverflow = false;
  std::int64_t isum = 0;
  bool exact = true;
  __int128 scaled = 0;  // sum of value * 10000 while every value has <= 4 decimals
  double dsum = 0;
};

// SQLite's aggregate memory is only 8-byte aligned: the state is copied in and out.
void* sumContext(sqlite3_context* ctx, int bytes) {
  return sqlite3_aggregate_context(ctx, bytes);
}

void sumAdd(SumState& st, const Num& n) {
  ++st.count;
  st.dsum += n.real();
  if (n.isInt) {
    if (st.allInt && __builtin_add_overflow(st.isum, n.i, &st.isum)) st.intOverflow = true;
    st.scaled += static_cast<__int128>(n.i) * 10000;
    return;
  }
  st.allInt = false;
  const double r = n.d * 10000.0;
  const double nearest = std::nearbyint(r);
  if (st.exact && std::fabs(nearest) < 9e18 &&
      std::fabs(r - nearest) <= std::fabs(r) * 1e-15 + 1e-9)
    st.scaled += static_cast<__int128>(static_cast<std::int64_t>(nearest));
  else
    st.exact = false;
}

void sumStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
  guarded(ctx, [&] {
    void* mem = sumContext(ctx, static_cast<int>(sizeof(SumState) + 16));
    if (!mem) return sqlite3_result_error_nomem(ctx);
    Num n;
    if (!number(argv[0], n)) return;
    SumState st;
    if (*static_cast<unsigned char*>(mem) != 0)
      std::memcpy(&st, static_cast<char*>(mem) + 16, sizeof st);
    sumAdd(st, n);
    *static_cast<unsigned char*>(mem) = 1;
    std::memcpy(static_cast<char*>(mem) + 16, &st, sizeof st);
  });
}

double sumValue(const SumState& st) {
  if (st.exact) return static_cast<double>(st.scaled) / 10000.0;
  return st.dsum;
}

bool finalState(sqlite3_context* ctx, SumState& st) {
  void* mem = sumContext(ctx, 0);
  if (!mem || *static_cast<unsigned char*>(mem) == 0) return false;
  std::memcpy(&st, static_cast<char*>(mem) + 16, sizeof st);
  return st.count > 0;
}

void sumFinal(sqlite3_context* ctx) {
  SumState st;
  if (!finalState(ctx, st)) return sqlite3_result_null(ctx);
  if (st.allInt && !st.intOverflow) return sqlite3_result_int64(ctx, st.isum);
  sqlite3_result_double(ctx, sumValue(st));
}

void avgFinal(sqlite3_context* ctx) {
  SumState st;
  if (!finalState(ctx, st)) return sqlite3_result_null(ctx);
  sqlite3_result_double(ctx, sumValue(st) / static_cast<double>(st.count));
}

template <int (*Compare)(std::string_view, std::string_view)>
int collate(void*, int n1, const void* s1, int n2, const void* s2) {
  return Compare(std::string_view(static_cast<const char*>(s1), static_cast<std::size_t>(n1)),
                 std::string_view(static_cast<const char*>(s2), static_cast<std::size_t>(n2)));
}

using K = JetFunction::Kind;
using R = JetResult;

// Every Jet function and operator the translator knows, with its SQLite implementation.
// Built-in SQLite aggregates (count, min, max) have no implementation here.
const JetFunction kFunctions[] = {
    // Operators: two operands or a whole chain of them.
    {"+", "jet_add", K::Operator, 2, -1, R::Unknown, fnArith<Arith::Add>},
    {"-", "jet_sub", K::Operator, 2, -1, R::Number, fnArith<Arith::Sub>},
    {"*", "jet_mul", K::Operator, 2, -1, R::Number, fnArith<Arith::Mul>},
    {"/", "jet_div", K::Operator, 2, -1, R::Number, fnDiv},
    {"\\", "jet_intdiv", K::Operator, 2, -1, R::Number, fnIntDiv<false>},
    {"MOD", "jet_mod", K::Operator, 2, -1, R::Number, fnIntDiv<true>},
    {"&", "jet_concat", K::Operator, 2, -1, R::Text, fnConcat, nullptr, nullptr, true},
    {"LIKE", "jet_like", K::Operator, 2, 2, R::Bool, fnLike},
    {"-", "jet_neg", K::Unary, 1, 1, R::Number, fnNeg},
    // Functions.
    {"UCASE", "jet_ucase", K::Function, 1, 1, R::Text, fnCase<toUpper>},
    {"LCASE", "jet_lcase", K::Function, 1, 1, R::Text, fnCase<toLower>},
    {"STR", "jet_str", K::Function, 1, 1, R::Text, fnStr},
    {"ROUND", "jet_round", K::Function, 1, 2, R::Number, fnRound},
    {"TRIM", "jet_trim", K::Function, 1, 1, R::Text, fnTrim<0>},
    {"LTRIM", "jet_ltrim", K::Function, 1, 1, R::Text, fnTrim<1>},
    {"RTRIM", "jet_rtrim", K::Function, 1, 1, R::Text, fnTrim<2>},
    {"LEN", "jet_len", K::Function, 1, 1, R::Number, fnLen},
    {"ABS", "jet_abs", K::Function, 1, 1, R::Number, fnAbs},
    // Aggregates.
    {"COUNT", "count", K::Aggregate, 1, 1, R::Number},
    {"MIN", "min", K::Aggregate, 1, 1, R::Unknown},
    {"MAX", "max", K::Aggregate, 1, 1, R::Unknown},
    {"SUM", "jet_sum", K::Aggregate, 1, 1, R::Number, nullptr, sumStep, sumFinal},
    {"AVG", "jet_avg", K::Aggregate, 1, 1, R::Number, nullptr, sumStep, avgFinal},
};

const JetFunction* lookUp(std::string_view name, bool wanted(K)) {
  for (const JetFunction& f : kFunctions)
    if (wanted(f.kind) && name == f.jetName) return &f;
  return nullptr;
}

}  // namespace

const JetFunction* findJetFunction(std::string_view jetName) {
  return lookUp(jetName, [](K k) { return k == K::Function || k == K::Aggregate; });
}

const JetFunction* findJetOperator(std::string_view op, bool unary) {
  return unary ? lookUp(op, [](K k) { return k == K::Unary; })
               : lookUp(op, [](K k) { return k == K::Operator; });
}

void installJetFunctions(sqlite3* db) {
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  auto check = [&](int rc, const char* what) {
    if (rc != SQLITE_OK)
      throw kv::db::DbError(textos_jet::kClass, textos_jet::sqliteFailure(std::string(what) + ": " +
                                                                          sqlite3_errmsg(db)));
  };
  for (const JetFunction& f : kFunctions) {
    if (!f.scalar && !f.step) continue;  // built into SQLite
    // Operators take a whole chain in one call; a function each arity Jet allows.
    const int lo = f.kind == K::Operator && f.maxArgs < 0 ? -1 : f.minArgs;
    const int hi = f.kind == K::Operator && f.maxArgs < 0 ? -1 : f.maxArgs;
    for (int args = lo; args <= hi; ++args)
      check(sqlite3_create_function_v2(db, f.sqlName, args, flags, nullptr, f.scalar, f.step,
                                       f.final, nullptr),
            f.sqlName);
  }
  // A join's Bloom filter hashes the values SQLite compares, whatever their collation: 3.40's
  // hashed texts by length, so 'ANA' and 'ana  ' (equal under JET) never met in a join. The
  // release we build hashes every text alike, where the filter gains nothing measurable (the
  // questionnaire's joins are on texts or on tables of a few rows): it stays off, so that no
  // release can bring that fault back.
  constexpr int kBloomFilter = 0x00080000, kBloomPulldown = 0x00100000;
  sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, db, kBloomFilter | kBloomPulldown);
  check(sqlite3_create_collation_v2(db, "JET", SQLITE_UTF8, nullptr, collate<compareText>, nullptr),
        "JET");
  check(sqlite3_create_collation_v2(db, "JET_GENERAL", SQLITE_UTF8, nullptr,
                                    collate<compareTextForSort>, nullptr),
        "JET_GENERAL");
}

}  // namespace kv::jet
