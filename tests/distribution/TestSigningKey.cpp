#include "TestSigningKey.h"

#include <openssl/evp.h>

#include <stdexcept>

static void require(bool condition)
{
    if (!condition)
        throw std::runtime_error("OpenSSL failed to make or use a test signing key");
}

TestSigningKey::TestSigningKey() : m_key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), EVP_PKEY_free)
{
    require(m_key != nullptr);
}

QByteArray TestSigningKey::publicKeyBase64() const
{
    QByteArray raw(32, '\0');
    size_t size = size_t(raw.size());
    require(EVP_PKEY_get_raw_public_key(m_key.get(), reinterpret_cast<unsigned char *>(raw.data()), &size) == 1);
    return raw.toBase64();
}

QByteArray TestSigningKey::sign(const QByteArray &message) const
{
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    QByteArray signature(64, '\0');
    size_t size = size_t(signature.size());
    require(EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_key.get()) == 1);
    require(EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &size,
                           reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size())) == 1);
    return signature.toBase64();
}
