#pragma once

#include <QString>
#include <QStringView>

#include <functional>

// What a write killed half-way leaves beside its target: a hidden file named
// after the target, a dot and a random suffix (".defaults.json.k3x9q"). Swept
// at the next start; nothing else in the folder is touched.
namespace HiddenTemporaries {

using Test = std::function<bool(QStringView target, QStringView suffix)>;

// AtomicFileWriter's temporaries carry this mark before their random part, so
// that a sweep never mistakes a user's ".photo.png.old" for one of ours.
inline const QString writerMark = QStringLiteral("tavimo-");
bool isWriterSuffix(QStringView suffix);
// A test for the writer's temporaries of files named `name`.
Test writerTemporariesOf(const QString &name);

// Removes from `folder` every regular file ".<target>.<suffix>" for which
// `isOurs` holds; the suffix is letters, digits and dashes. Returns how many
// it removed; a file it cannot remove is left.
int remove(const QString &folder, const Test &isOurs);

} // namespace HiddenTemporaries
