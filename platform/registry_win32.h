#pragma once

#include <QString>

namespace platform {

/// The text value `name` of the registry key `key` (HKEY_CURRENT_USER\... or HKEY_LOCAL_MACHINE\...),
/// empty where there is none. Only read: a key that is missing stays missing.
QString registryText(const QString& key, const QString& name);

}  // namespace platform
