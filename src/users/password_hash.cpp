#include "users/password_hash.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QTextCodec>
#include <limits>
#include <openssl/crypto.h>
#include <openssl/evp.h>

namespace billprint {

namespace {

const QString kScheme = QStringLiteral("pbkdf2-sha256");
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

// OpenSSL's PBKDF2 is several times faster than a hand-rolled HMAC loop,
// which keeps a login with 600 000 iterations well under a second.
QByteArray derive(const QString &password, const QByteArray &salt, int iterations)
{
    const QByteArray secret = password.toUtf8();
    QByteArray key(kHashBytes, Qt::Uninitialized);
    if (PKCS5_PBKDF2_HMAC(secret.constData(), int(secret.size()),
                          reinterpret_cast<const unsigned char *>(salt.constData()), int(salt.size()),
                          iterations, EVP_sha256(), kHashBytes,
                          reinterpret_cast<unsigned char *>(key.data())) != 1)
        return QByteArray();
    return key;
}

QByteArray randomSalt()
{
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator *rng = QRandomGenerator::system();
    for (char &c : salt)
        c = static_cast<char>(rng->bounded(256));
    return salt;
}

// Compares without stopping at the first difference, so the time taken
// does not tell how much of a guess was right.
bool sameBytes(const QByteArray &a, const QByteArray &b)
{
    return !a.isEmpty() && a.size() == b.size() && CRYPTO_memcmp(a.constData(), b.constData(), size_t(a.size())) == 0;
}

} // namespace

QString PasswordHasher::hash(const QString &password) const
{
    if (password.isEmpty() || !m_accepted.contains(m_iterations))
        return QString();
    const QByteArray salt = randomSalt();
    const QByteArray key = derive(password, salt, m_iterations);
    if (key.isEmpty())
        return QString();  // the caller refuses to store that for a password
    return QStringList{kScheme, QString::number(m_iterations), QString::fromLatin1(salt.toBase64()),
                       QString::fromLatin1(key.toBase64())}
        .join(QLatin1Char('$'));
}

bool PasswordHasher::verify(const QString &password, const QString &stored) const
{
    if (password.isEmpty() || stored.isEmpty())
        return password.isEmpty() && stored.isEmpty();
    if (isLegacyDigest(stored))
        return legacyDigest(password) == stored;
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4 || parts[0] != kScheme)
        return false;
    // Digits only: no sign, blank or exponent slips past the range test.
    static const QRegularExpression count(QStringLiteral("^[1-9][0-9]{0,9}$"));
    bool ok = false;
    const qint64 iterations = count.match(parts[1]).hasMatch() ? parts[1].toLongLong(&ok) : 0;
    if (!ok || iterations > std::numeric_limits<int>::max() || !m_accepted.contains(int(iterations)))
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
    return sameBytes(derive(password, salt, int(iterations)), expected);
}

bool PasswordHasher::isLegacyDigest(const QString &stored)
{
    static const QRegularExpression digest(QStringLiteral("^[0-9a-f]{32}$"));
    return digest.match(stored).hasMatch();
}

QString PasswordHasher::legacyDigest(const QString &password)
{
    QTextCodec *gbk = QTextCodec::codecForName("GBK");
    const QByteArray bytes = gbk ? gbk->fromUnicode(password) : password.toLocal8Bit();
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

} // namespace billprint
