#pragma once

#include <QByteArray>

#include <memory>

typedef struct evp_pkey_st EVP_PKEY;

// An Ed25519 key made fresh for each test, signing update archives.
class TestSigningKey {
public:
    TestSigningKey();
    // The raw 32-byte public key in Base64, as a build carries it.
    QByteArray publicKeyBase64() const;
    // The Ed25519 signature of `message` in Base64.
    QByteArray sign(const QByteArray &message) const;

private:
    std::shared_ptr<EVP_PKEY> m_key;
};
