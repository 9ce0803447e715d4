#include "UpdateSignature.h"

#include <QFile>

#include <openssl/evp.h>

#include <memory>

namespace {

constexpr qsizetype publicKeySize = 32;
constexpr qsizetype signatureSize = 64;

std::optional<QByteArray> decoded(const QByteArray &base64, qsizetype size)
{
    const QByteArray::FromBase64Result result =
        QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!result || result.decoded.size() != size)
        return std::nullopt;
    return result.decoded;
}

bool verifies(const uchar *message, qint64 size, const QByteArray &signature, const QByteArray &publicKey)
{
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, reinterpret_cast<const uchar *>(publicKey.constData()),
                                    size_t(publicKey.size())),
        EVP_PKEY_free);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!key || !context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const uchar *>(signature.constData()),
                            size_t(signature.size()), message, size_t(size)) == 1;
}

} // namespace

namespace UpdateSignature {

std::optional<QByteArray> publicKey(const QByteArray &base64)
{
    return decoded(base64, publicKeySize);
}

bool verifiesFile(const QString &filePath, const QByteArray &signatureBase64, const QByteArray &publicKey)
{
    const std::optional<QByteArray> signature = decoded(signatureBase64, signatureSize);
    QFile file(filePath);
    if (!signature || publicKey.size() != publicKeySize || !file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    const uchar *message = file.map(0, file.size());
    return message && verifies(message, file.size(), *signature, publicKey);
}

} // namespace UpdateSignature
