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
  std::error_code error;
  fs::path folder = pathOf(target).parent_path();
  for (; !folder.empty() && !fs::exists(folder, error); folder = folder.parent_path()) {
    missing_.push_back(textOf(folder));
    if (folder == folder.parent_path()) break;
  }
  if (!missing_.empty()) existing_ = folder.empty() ? std::string(".") : textOf(folder);
}

void TargetFolder::make() {
  std::error_code error;
  for (auto level = missing_.rbegin(); level != missing_.rend(); ++level) {
    const bool made = fs::create_directory(pathOf(*level), error);
    if (error) throw FetchFailure(kNotFetched, "I cannot make the folder " + *level + ": " + error.message() + ".");
    if (made) made_.push_back(*level);
  }
}

TargetFolder::~TargetFolder() {
  std::error_code error;
  for (auto level = made_.rbegin(); level != made_.rend(); ++level) fs::remove(pathOf(*level), error);
}

}  // namespace fetch
