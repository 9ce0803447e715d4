#include "TestCrypto.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace {

template <typename T> using Owned = std::unique_ptr<T, void (*)(T *)>;

void require(bool condition)
{
    if (!condition)
        throw std::runtime_error("OpenSSL failed in a test helper");
}

QByteArray pem(const std::function<int(BIO *)> &write)
{
    Owned<BIO> bio(BIO_new(BIO_s_mem()), BIO_free_all);
    require(write(bio.get()) == 1);
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, size);
}

TestCrypto::Certificate makeCertificate()
{
    Owned<EVP_PKEY> key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"), EVP_PKEY_free);
    Owned<X509> certificate(X509_new(), X509_free);
    require(key && certificate);
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 24 * 3600);
    X509_set_pubkey(certificate.get(), key.get());
    X509_NAME *name = X509_get_subject_name(certificate.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1,
                               0);
    X509_set_issuer_name(certificate.get(), name);
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate.get(), certificate.get(), nullptr, nullptr, 0);
    Owned<X509_EXTENSION> alternativeName(X509V3_EXT_conf_nid(nullptr, &context, NID_subject_alt_name, "IP:127.0.0.1"),
                                          X509_EXTENSION_free);
    require(alternativeName && X509_add_ext(certificate.get(), alternativeName.get(), -1) == 1);
    require(X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0);
    return {QSslCertificate(pem([&](BIO *bio) { return PEM_write_bio_X509(bio, certificate.get()); })),
            QSslKey(pem([&](BIO *bio) {
                        return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
                    }),
                    QSsl::Ec)};
}

} // namespace

namespace TestCrypto {

SigningKey::SigningKey() : m_key(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), EVP_PKEY_free)
{
    require(m_key != nullptr);
}

QByteArray SigningKey::publicKeyBase64() const
{
    QByteArray raw(32, '\0');
    size_t size = size_t(raw.size());
    require(EVP_PKEY_get_raw_public_key(m_key.get(), reinterpret_cast<unsigned char *>(raw.data()), &size) == 1);
    return raw.toBase64();
}

QByteArray SigningKey::sign(const QByteArray &message) const
{
    Owned<EVP_MD_CTX> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    QByteArray signature(64, '\0');
    size_t size = size_t(signature.size());
    require(EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, m_key.get()) == 1);
    require(EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &size,
                           reinterpret_cast<const unsigned char *>(message.constData()), size_t(message.size())) == 1);
    return signature.toBase64();
}

const Certificate &loopbackCertificate()
{
    static const Certificate certificate = makeCertificate();
    return certificate;
}

} // namespace TestCrypto
