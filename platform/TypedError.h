#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// A typed error thrown to the caller. `E` is an error enumeration with a free
// function `QString description(E)` whose text is shown to the user verbatim.
namespace TypedErrorDetail {
template <typename E> QString describe(E code)
{
    return description(code);
}
} // namespace TypedErrorDetail

// Any error whose description the user may read; other exceptions carry
// technical detail that goes to the log only.
class DescribedError : public std::exception {
public:
    virtual QString description() const = 0;
};

template <typename E> class TypedError : public DescribedError {
public:
    explicit TypedError(E code) : m_code(code), m_utf8(TypedErrorDetail::describe(code).toUtf8()) {}

    E code() const { return m_code; }
    QString description() const override { return QString::fromUtf8(m_utf8); }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    E m_code;
    QByteArray m_utf8;
};
