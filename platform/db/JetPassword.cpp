#include "platform/db/JetPassword.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <random>

#include "platform/rtl/AnsiStrings.h"

namespace JetPassword {

namespace {

constexpr std::uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

constexpr int Iterations = 4096;
constexpr const char* CreateTable = "CREATE TABLE IF NOT EXISTS MSysDbPassword(Salt BLOB, Hash BLOB)";

std::string Derive(const std::string& salt, const AnsiString& password)
{
  std::string h = Sha256(salt + System::AnsiToUtf8(password));
  for (int i = 0; i < Iterations; ++i) h = Sha256(h + salt);
  return h;
}

[[noreturn]] void Fail(sqlite3* db) { throw EOleException(System::Utf8ToAnsi(sqlite3_errmsg(db))); }

}  // namespace

std::string Sha256(const std::string& Data)
{
  std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::string m = Data;
  std::uint64_t bits = static_cast<std::uint64_t>(Data.size()) * 8;
  m += static_cast<char>(0x80);
  while (m.size() % 64 != 56) m += '\0';
  for (int i = 7; i >= 0; --i) m += static_cast<char>((bits >> (i * 8)) & 0xff);
  for (std::size_t off = 0; off < m.size(); off += 64) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
      const auto* p = reinterpret_cast<const unsigned char*>(m.data() + off + i * 4);
      w[i] = (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
    }
    for (int i = 16; i < 64; ++i) {
      std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], hh = h[7];
    for (int i = 0; i < 64; ++i) {
      std::uint32_t S1 = Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25);
      std::uint32_t ch = (e & f) ^ (~e & g);
      std::uint32_t t1 = hh + S1 + ch + K[i] + w[i];
      std::uint32_t S0 = Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22);
      std::uint32_t maj = (a & b) ^ (a & c) ^ (b & c);
      std::uint32_t t2 = S0 + maj;
      hh = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
    h[4] += e;
    h[5] += f;
    h[6] += g;
    h[7] += hh;
  }
  std::string out;
  for (std::uint32_t v : h)
    for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (i * 8)) & 0xff);
  return out;
}

bool Check(sqlite3* Db, const AnsiString& Password)
{
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(Db, "SELECT Salt, Hash FROM MSysDbPassword", -1, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return true;  // no table: no password
  }
  bool ok = true;
  if (sqlite3_step(st) == SQLITE_ROW) {
    std::string salt(static_cast<const char*>(sqlite3_column_blob(st, 0)),
                     static_cast<std::size_t>(sqlite3_column_bytes(st, 0)));
    std::string hash(static_cast<const char*>(sqlite3_column_blob(st, 1)),
                     static_cast<std::size_t>(sqlite3_column_bytes(st, 1)));
    ok = Derive(salt, Password) == hash;
  }
  sqlite3_finalize(st);
  return ok;
}

void Store(sqlite3* Db, const AnsiString& Password)
{
  if (sqlite3_exec(Db, CreateTable, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(Db);
  if (sqlite3_exec(Db, "DELETE FROM MSysDbPassword", nullptr, nullptr, nullptr) != SQLITE_OK) Fail(Db);
  if (Password.empty()) return;
  std::random_device rd;
  std::string salt;
  for (int i = 0; i < 16; ++i) salt += static_cast<char>(rd() & 0xff);
  std::string hash = Derive(salt, Password);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(Db, "INSERT INTO MSysDbPassword(Salt, Hash) VALUES (?, ?)", -1, &st, nullptr) != SQLITE_OK)
    Fail(Db);
  sqlite3_bind_blob(st, 1, salt.data(), static_cast<int>(salt.size()), SQLITE_TRANSIENT);
  sqlite3_bind_blob(st, 2, hash.data(), static_cast<int>(hash.size()), SQLITE_TRANSIENT);
  int rc = sqlite3_step(st);
  sqlite3_finalize(st);
  if (rc != SQLITE_DONE) Fail(Db);
}

}  // namespace JetPassword
