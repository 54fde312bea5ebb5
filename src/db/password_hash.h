#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pos {

// Operator passwords as the local file keeps them: salted slow hashes, so a copied
// POS.mdb gives away no password. The form names its method and work, and old hashes
// stay readable when the count changes: "pbkdf2-sha256$<iterations>$<salt>$<hash>",
// salt and hash in hexadecimal.
//
// PBKDF2 with HMAC-SHA-256 and a random 16-byte salt. The count keeps one check, at
// sign-on or a supervisor's grant, to a small part of a second on a slow terminal; each
// download pays it once for every operator.
inline constexpr int kPasswordHashIterations = 100000;

// Member cards: a card's password is a short code, checked only offline, and every sale
// that moves a card's balance changes its back-office row, so each download hashes again
// the cards sold since the last one. A lighter count keeps that below a millisecond a
// card; a copied file still shows no password.
inline constexpr int kCardPasswordHashIterations = 2000;

// Raises PosError when the system cannot supply a random salt.
std::string hashPassword(std::string_view password, int iterations = kPasswordHashIterations);

// hashPassword of each password, worked out on every processor at once: a download
// hashes every operator's password, and one at a time they add up to seconds.
std::vector<std::string> hashPasswords(const std::vector<std::string>& passwords,
                                       int iterations = kPasswordHashIterations);

// Whether the password is the one the hash was made from, compared in constant time. A
// stored value that is not in the hash form (a null, a plain password) never matches.
bool passwordMatches(std::string_view stored, std::string_view password);

}  // namespace pos
