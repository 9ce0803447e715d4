#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Ed25519 signatures of update archives.
namespace UpdateSignature {

// The raw 32-byte public key from its Base64 text, or nothing when the text
// is not Base64 or does not decode to exactly 32 bytes.
std::optional<QByteArray> publicKey(const QByteArray &base64);

// Whether `signatureBase64` is a valid Ed25519 signature of the whole file
// at `filePath` under the raw 32-byte `publicKey`.
bool verifiesFile(const QString &filePath, const QByteArray &signatureBase64, const QByteArray &publicKey);

} // namespace UpdateSignature
