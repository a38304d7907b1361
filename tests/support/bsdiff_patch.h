#pragma once

#include <QByteArray>

/// The patch Debian's bsdiff makes from `from` to `to`.
QByteArray bsdiffPatch(const QByteArray& from, const QByteArray& to);
