#include "tools/fetch/target_folder.h"

#include <filesystem>
#include <system_error>

#include "tools/fetch/fetch_failure.h"

namespace fetch {

namespace {

namespace fs = std::filesystem;

// Names are UTF-8 on both systems (Windows' through the programs' manifest).
fs::path pathOf(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string textOf(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

TargetFolder::TargetFolder(const std::string& target) {
  std::vector<fs::path> missing;
  std::error_code error;
  for (fs::path folder = pathOf(target).parent_path(); !folder.empty() && !fs::exists(folder, error);
       folder = folder.parent_path()) {
    missing.push_back(folder);
    if (folder == folder.parent_path()) break;
  }
  for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
    const bool made = fs::create_directory(*level, error);
    if (error) throw FetchFailure(kNotFetched, "I cannot make the folder " + textOf(*level) + ": " + error.message() + ".");
    if (made) made_.push_back(textOf(*level));
  }
}

TargetFolder::~TargetFolder() {
  std::error_code error;
  for (auto level = made_.rbegin(); level != made_.rend(); ++level) fs::remove(pathOf(*level), error);
}

}  // namespace fetch
