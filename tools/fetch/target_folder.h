#pragma once

#include <string>
#include <vector>

namespace fetch {

/// The folder TARGET goes into, made with whatever levels are missing under the nearest existing
/// folder. The levels it made are removed again, if still empty, unless keep() is called.
class TargetFolder {
 public:
  /// Throws FetchFailure when a level cannot be made.
  explicit TargetFolder(const std::string& target);
  ~TargetFolder();
  TargetFolder(const TargetFolder&) = delete;
  TargetFolder& operator=(const TargetFolder&) = delete;

  /// The levels made, the deepest last.
  const std::vector<std::string>& made() const { return made_; }
  void keep() { made_.clear(); }

 private:
  std::vector<std::string> made_;
};

}  // namespace fetch
