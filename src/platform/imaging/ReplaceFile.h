#pragma once

#include <QByteArray>
#include <QString>

namespace pellix {

// Replaces the directory entry `path` with a new regular file holding `bytes`:
// written beside it under a temporary name (".NAME.pellix-XXXXXX"), synced and
// renamed over the entry. Whatever stood at the name before, a symbolic link
// included, is replaced and never written through; a regular file's permissions
// are kept. Returns the reason when it fails, and then the old entry is whole.
QString replaceFile(const QString& path, const QByteArray& bytes);

// Removes the temporary files that replaceFile leaves beside `path` when its
// process is killed before the rename: regular files of the current user with
// exactly that name pattern, which no living writer holds.
void removeLeftovers(const QString& path);

} // namespace pellix
