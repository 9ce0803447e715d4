#pragma once

#include <QSslCertificate>
#include <QSslKey>

// A self-signed certificate for 127.0.0.1, made fresh for each test run.
struct TestCertificate {
    QSslCertificate certificate;
    QSslKey key;
    static TestCertificate generate();
};
