// Stored form of operator passwords: PBKDF2 with SHA-256 and a random salt, written as
// "pbkdf2-sha256$<iterations>$<salt hex>$<hash hex>" (about 120 bytes).
#pragma once

#include "platform/rtl/System.h"

namespace PasswordHash {

// A new stored form of Password (fresh salt each call). Raises Exception when the system's
// random source fails.
AnsiString Make(const AnsiString& Password);
// True when Stored is in the hashed form (anything else is an older plain-text password).
bool IsHashed(const AnsiString& Stored);
// True when Password matches Stored: the hash for a hashed form, exact equality for a plain
// one. A malformed hashed form matches nothing.
bool Verify(const AnsiString& Stored, const AnsiString& Password);

}  // namespace PasswordHash
