#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests; a file that cannot be read reads as empty.
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &data);
