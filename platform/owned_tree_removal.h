#pragma once

#include <QString>
#include <functional>

namespace platform {

/// Removes the folder `name` in the folder `parent`, with all it holds, where it is a real folder
/// (not a link, junction or other reparse point) that the user running this owns. It goes through
/// handles it holds, each entry opened relative to its folder's: a link at any depth is removed as
/// a link and never followed, a folder of another user's (or another file system's) is left whole,
/// and no permission or attribute of anything is changed to force a removal. True when the folder
/// is gone (or was never there); what could not go stays for a later try.
bool removeOwnedFolder(const QString& parent, const QString& name);

/// For tests alone: called with a subfolder's path once it was found to be a folder, before it is
/// entered, so that a test can swap it for a link just then. Unset in the programs.
extern std::function<void(const QString& path)> beforeEnteringFolder;

}  // namespace platform
