#pragma once

#include <QByteArray>

/// `size` bytes that look random, the same for the same seed: data no patch can shortcut.
QByteArray randomBytes(int size, quint32 seed);

/// The patch Debian's bsdiff makes from `from` to `to`.
QByteArray bsdiffPatch(const QByteArray& from, const QByteArray& to);
