#pragma once

#include <string>
#include <vector>

namespace fetch {

/// The folder TARGET goes into, and the levels of it that are missing under the nearest existing
/// folder. They are made only in make(), once the file is whole, so that a fetch ended any way
/// before leaves none; made, they are removed again, if still empty, unless keep() is called.
class TargetFolder {
 public:
  explicit TargetFolder(const std::string& target);
  ~TargetFolder();
  TargetFolder(const TargetFolder&) = delete;
  TargetFolder& operator=(const TargetFolder&) = delete;

  /// The nearest folder above TARGET that exists now, where the file is written until it is
  /// whole, when TARGET's own folder is missing; empty when that is there.
  const std::string& existing() const { return existing_; }
  /// Makes the missing levels. Throws FetchFailure when one cannot be made.
  void make();
  /// The levels made, the deepest last.
  const std::vector<std::string>& made() const { return made_; }
  void keep() { made_.clear(); }

 private:
  std::string existing_;
  std::vector<std::string> missing_;  // the deepest first
  std::vector<std::string> made_;
};

}  // namespace fetch
