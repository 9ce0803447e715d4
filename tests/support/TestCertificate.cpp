#include "TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>
#include <stdexcept>

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;
using Bio = std::unique_ptr<BIO, decltype(&BIO_free)>;

void require(bool condition, const char *step)
{
    if (!condition)
        throw std::runtime_error(step);
}

void addExtension(X509 *certificate, int nid, const char *value)
{
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    X509_EXTENSION *extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    require(extension, "extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

QByteArray pem(const std::function<int(BIO *)> &write)
{
    Bio bio(BIO_new(BIO_s_mem()), BIO_free);
    require(write(bio.get()) == 1, "PEM");
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return QByteArray(data, size);
}

} // namespace

TestCertificate TestCertificate::generate()
{
    Key key(EVP_EC_gen("P-256"), EVP_PKEY_free);
    require(key != nullptr, "key");
    Certificate certificate(X509_new(), X509_free);
    X509 *x509 = certificate.get();
    X509_set_version(x509, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(x509), 1);
    X509_gmtime_adj(X509_getm_notBefore(x509), -3600);
    X509_gmtime_adj(X509_getm_notAfter(x509), 24 * 3600);
    X509_set_pubkey(x509, key.get());
    X509_NAME *name = X509_get_subject_name(x509);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1,
                               0);
    X509_set_issuer_name(x509, name);
    addExtension(x509, NID_basic_constraints, "critical,CA:TRUE");
    addExtension(x509, NID_subject_alt_name, "IP:127.0.0.1");
    require(X509_sign(x509, key.get(), EVP_sha256()) > 0, "sign");
    const QByteArray certificatePem = pem([&](BIO *bio) { return PEM_write_bio_X509(bio, x509); });
    const QByteArray keyPem =
        pem([&](BIO *bio) { return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr); });
    return TestCertificate{QSslCertificate(certificatePem, QSsl::Pem), QSslKey(keyPem, QSsl::Ec, QSsl::Pem)};
}
