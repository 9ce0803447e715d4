#pragma once

#include <QByteArray>
#include <QSslCertificate>
#include <QSslKey>

#include <memory>

typedef struct evp_pkey_st EVP_PKEY;

// Keys made fresh for each test run.
namespace TestCrypto {

class SigningKey {
public:
    SigningKey();
    // The raw 32-byte public key in Base64, as a build carries it.
    QByteArray publicKeyBase64() const;
    // The Ed25519 signature of `message` in Base64.
    QByteArray sign(const QByteArray &message) const;

private:
    std::shared_ptr<EVP_PKEY> m_key;
};

// A self-signed certificate for 127.0.0.1 and its key.
struct Certificate {
    QSslCertificate certificate;
    QSslKey key;
};

const Certificate &loopbackCertificate();

} // namespace TestCrypto
