#pragma once

#include <QString>

namespace billprint {

// Turns passwords into the text kept in UserTable.Passwd.
//
// A stored password is a salted, slow PBKDF2-SHA256 hash written as
// "pbkdf2-sha256$<iterations>$<salt base64>$<hash base64>", so the row
// itself says how to check it and the iteration count can grow later
// without breaking older rows. An empty password is kept as the empty
// text, which is what a reset writes and what a new user starts with.
//
// Databases of the earlier program hold an unsalted MD5 digest of the GBK
// bytes (32 lower-case hex digits); such a row can still be checked, and
// the caller replaces it with a new hash after the first good login.
class PasswordHasher
{
public:
    static constexpr int kDefaultIterations = 600000;

    // The iteration counts a stored hash may name: around what this program
    // writes, so it can grow, but a row naming a count of billions (which
    // would keep a login computing for hours) or a handful (a hash anyone
    // could forge cheaply) is treated as invalid and never computed.
    struct IterationRange
    {
        int least;
        int most;
        bool contains(int iterations) const { return iterations >= least && iterations <= most; }
    };
    static constexpr IterationRange kAcceptedIterations{100000, 10000000};

    explicit PasswordHasher(int iterations = kDefaultIterations, IterationRange accepted = kAcceptedIterations)
        : m_iterations(iterations), m_accepted(accepted)
    {
    }

    // The text to store for `password`: empty for an empty password, and
    // also empty (for a non-empty password) when hashing failed or this
    // hasher's own count lies outside the accepted range.
    QString hash(const QString &password) const;

    // Whether `password` matches the stored text (new format, a legacy MD5
    // digest, or the empty text). A hash naming an iteration count outside
    // the accepted range never matches.
    bool verify(const QString &password, const QString &stored) const;

    // True when the stored text is the earlier program's MD5 digest and
    // should be rewritten once the password is known.
    static bool isLegacyDigest(const QString &stored);
    // The earlier program's digest: MD5 over the GBK bytes, lower-case hex.
    static QString legacyDigest(const QString &password);

private:
    int m_iterations;
    IterationRange m_accepted;
};

} // namespace billprint
