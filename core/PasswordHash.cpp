#include "core/PasswordHash.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdlib>

#include "platform/rtl/Exceptions.h"

namespace {

const char Prefix[] = "pbkdf2-sha256$";
constexpr int Iterations = 100000;
constexpr int SaltBytes = 16;
constexpr int HashBytes = 32;

std::string ToHex(const unsigned char* Data, std::size_t Size)
{
  static const char Digits[] = "0123456789abcdef";
  std::string Out;
  for (std::size_t i = 0; i < Size; ++i) {
    Out += Digits[Data[i] >> 4];
    Out += Digits[Data[i] & 15];
  }
  return Out;
}

bool FromHex(const std::string& Text, std::string& Out)
{
  if (Text.size() % 2) return false;
  Out.clear();
  for (std::size_t i = 0; i < Text.size(); i += 2) {
    int v = 0;
    for (int k = 0; k < 2; ++k) {
      char c = Text[i + k];
      int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (d < 0) return false;
      v = v * 16 + d;
    }
    Out += static_cast<char>(v);
  }
  return true;
}

std::string Derive(const AnsiString& Password, const std::string& Salt, int Rounds)
{
  unsigned char Out[HashBytes];
  if (PKCS5_PBKDF2_HMAC(Password.data(), static_cast<int>(Password.size()),
                        reinterpret_cast<const unsigned char*>(Salt.data()), static_cast<int>(Salt.size()), Rounds,
                        EVP_sha256(), HashBytes, Out) != 1)
    throw Exception("口令运算失败.");
  return std::string(reinterpret_cast<char*>(Out), HashBytes);
}

}  // namespace

namespace PasswordHash {

AnsiString Make(const AnsiString& Password)
{
  unsigned char Salt[SaltBytes];
  if (RAND_bytes(Salt, SaltBytes) != 1) throw Exception("口令运算失败.");
  std::string S(reinterpret_cast<char*>(Salt), SaltBytes);
  std::string H = Derive(Password, S, Iterations);
  return AnsiString(Prefix) + std::to_string(Iterations) + "$" + ToHex(Salt, SaltBytes) + "$" +
         ToHex(reinterpret_cast<const unsigned char*>(H.data()), H.size());
}

bool IsHashed(const AnsiString& Stored) { return Stored.rfind(Prefix, 0) == 0; }

bool Verify(const AnsiString& Stored, const AnsiString& Password)
{
  if (!IsHashed(Stored)) return Stored == Password;
  std::string Rest = Stored.substr(sizeof(Prefix) - 1);
  std::size_t A = Rest.find('$');
  std::size_t B = A == std::string::npos ? A : Rest.find('$', A + 1);
  if (B == std::string::npos) return false;
  std::string RoundsText = Rest.substr(0, A);
  if (RoundsText.empty() || RoundsText.size() > 7 || RoundsText.find_first_not_of("0123456789") != std::string::npos)
    return false;
  int Rounds = std::atoi(RoundsText.c_str());
  std::string Salt, Hash;
  if (Rounds < 1 || !FromHex(Rest.substr(A + 1, B - A - 1), Salt) || !FromHex(Rest.substr(B + 1), Hash) ||
      Hash.size() != HashBytes)
    return false;
  std::string Got = Derive(Password, Salt, Rounds);
  return CRYPTO_memcmp(Got.data(), Hash.data(), HashBytes) == 0;
}

}  // namespace PasswordHash
