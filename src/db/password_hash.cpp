#include "db/password_hash.h"

#include "base/hex_digit.h"
#include "base/number_format.h"
#include "base/pos_error.h"

#include <fmt/format.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

namespace pos {
namespace {

constexpr std::string_view kMethod = "pbkdf2-sha256";
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;
// A stored count above this is no hash of ours, and would stall the terminal.
constexpr long long kMostIterations = 100'000'000;

using Bytes = std::vector<unsigned char>;

std::string hex(const Bytes& bytes)
{
    std::string out;
    for (unsigned char b : bytes)
        out += fmt::format("{:02x}", b);
    return out;
}

std::optional<Bytes> unhex(std::string_view text)
{
    if (text.empty() || text.size() % 2 != 0)
        return std::nullopt;
    Bytes out;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int hi = hexDigit(text[i]), lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out.push_back(static_cast<unsigned char>(hi * 16 + lo));
    }
    return out;
}

Bytes derive(std::string_view password, const Bytes& salt, int iterations, std::size_t length)
{
    Bytes out(length);
    if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                          static_cast<int>(salt.size()), iterations, EVP_sha256(), static_cast<int>(length),
                          out.data())
        != 1)
        throw PosError("PKCS5_PBKDF2_HMAC", "计算密码摘要");
    return out;
}

std::vector<std::string_view> fields(std::string_view text)
{
    std::vector<std::string_view> out;
    for (std::size_t at; (at = text.find('$')) != std::string_view::npos; text.remove_prefix(at + 1))
        out.push_back(text.substr(0, at));
    out.push_back(text);
    return out;
}

}  // namespace

std::string hashPassword(std::string_view password, int iterations)
{
    Bytes salt(kSaltBytes);
    if (RAND_bytes(salt.data(), static_cast<int>(salt.size())) != 1)
        throw PosError("RAND_bytes", "生成密码摘要");
    return fmt::format("{}${}${}${}", kMethod, iterations, hex(salt), hex(derive(password, salt, iterations, kHashBytes)));
}

std::vector<std::string> hashPasswords(const std::vector<std::string>& passwords, int iterations)
{
    std::vector<std::string> hashes(passwords.size());
    const std::size_t workers =
        std::min<std::size_t>(passwords.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::exception_ptr> failures(workers);
    std::vector<std::thread> threads;
    for (std::size_t w = 0; w < workers; ++w)
        threads.emplace_back([&, w] {
            try {
                for (std::size_t i = w; i < passwords.size(); i += workers)
                    hashes[i] = hashPassword(passwords[i], iterations);
            } catch (...) {
                failures[w] = std::current_exception();
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    return hashes;
}

bool passwordMatches(std::string_view stored, std::string_view password)
{
    const std::vector<std::string_view> f = fields(stored);
    long long iterations = 0;
    if (f.size() != 4 || f[0] != kMethod || !parseInt(std::string(f[1]), iterations) || iterations < 1
        || iterations > kMostIterations)
        return false;
    const std::optional<Bytes> salt = unhex(f[2]), hash = unhex(f[3]);
    if (!salt || !hash)
        return false;
    const Bytes typed = derive(password, *salt, static_cast<int>(iterations), hash->size());
    return CRYPTO_memcmp(typed.data(), hash->data(), hash->size()) == 0;
}

}  // namespace pos
