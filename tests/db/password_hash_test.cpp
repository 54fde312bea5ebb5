#include "db/password_hash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pos {
namespace {

constexpr int kFew = 1000;

TEST(PasswordHash, MatchesOnlyThePasswordItWasMadeFrom)
{
    const std::string passwords[] = {"", "1", "999", " pass word ", "密码123", "x'y", std::string("a\0b", 3)};
    for (const std::string& password : passwords) {
        const std::string hash = hashPassword(password, kFew);
        EXPECT_TRUE(passwordMatches(hash, password)) << password;
        EXPECT_FALSE(passwordMatches(hash, password + "x")) << password;
        EXPECT_FALSE(passwordMatches(hash, " " + password)) << password;
        // Only a password with a letter outside hex digits can be looked for in the hex form.
        if (password.find_first_not_of("0123456789abcdef") != std::string::npos && password.size() > 2)
            EXPECT_EQ(hash.find(password), std::string::npos) << "the password shows through";
    }
    EXPECT_FALSE(passwordMatches(hashPassword(std::string("a\0b", 3), kFew), "a"));
}

// The form names method, count and salt, so a hash made with another count still
// checks, and one password gives a new hash each time.
TEST(PasswordHash, FormCarriesMethodCountAndARandomSalt)
{
    const std::string first = hashPassword("999"), second = hashPassword("999");
    EXPECT_EQ(first.rfind("pbkdf2-sha256$" + std::to_string(kPasswordHashIterations) + "$", 0), 0u) << first;
    EXPECT_NE(first, second);
    EXPECT_TRUE(passwordMatches(first, "999"));
    EXPECT_TRUE(passwordMatches(second, "999"));
}

// Hashed together, each password gets a hash of its own that matches it alone.
TEST(PasswordHash, ManyAtOnceEachMatchOnlyTheirOwn)
{
    std::vector<std::string> passwords;
    for (int i = 0; i < 9; ++i)
        passwords.push_back("pw" + std::to_string(i % 3));  // repeated passwords still get their own salts
    const std::vector<std::string> hashes = hashPasswords(passwords, kFew);
    ASSERT_EQ(hashes.size(), passwords.size());
    for (std::size_t i = 0; i < passwords.size(); ++i) {
        EXPECT_TRUE(passwordMatches(hashes[i], passwords[i])) << i;
        EXPECT_FALSE(passwordMatches(hashes[i], passwords[(i + 1) % passwords.size()])) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(hashes[i], hashes[j]);
    }
    EXPECT_TRUE(hashPasswords({}, kFew).empty());
}

// A stored value that is not a hash of ours never lets anyone in, not even with the
// stored text itself as the password.
TEST(PasswordHash, ValuesNotInTheHashFormNeverMatch)
{
    const std::string good = hashPassword("999", kFew);
    const std::string salt = good.substr(good.find('$', 15) + 1, 32);
    const std::string hash = good.substr(good.rfind('$') + 1);
    const std::string stored[] = {
        "", "999", "pbkdf2-sha256", "pbkdf2-sha256$$$",
        "pbkdf2-sha1$1000$" + salt + "$" + hash,     // another method
        "pbkdf2-sha256$0$" + salt + "$" + hash,      // no work at all
        "pbkdf2-sha256$-5$" + salt + "$" + hash,
        "pbkdf2-sha256$999999999999$" + salt + "$" + hash,
        "pbkdf2-sha256$1000$$" + hash,               // no salt
        "pbkdf2-sha256$1000$" + salt + "$",          // no hash
        "pbkdf2-sha256$1000$" + salt + "$" + hash.substr(1),
        "pbkdf2-sha256$1000$zz" + salt.substr(2) + "$" + hash,
        good + "$extra",
    };
    for (const std::string& s : stored) {
        EXPECT_FALSE(passwordMatches(s, "999")) << s;
        EXPECT_FALSE(passwordMatches(s, s)) << s;
    }
    EXPECT_TRUE(passwordMatches(good, "999"));
}

}  // namespace
}  // namespace pos
