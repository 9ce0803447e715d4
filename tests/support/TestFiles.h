#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests; a file that cannot be read reads as empty.
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &data);
// A file that exists but that this process cannot open: `path` made unreadable, or,
// for root (whom permissions do not stop), a kernel setting that can only be written.
QString unreadableFile(const QString &path);
