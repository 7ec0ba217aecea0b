#pragma once
#include <string>
#include <vector>

// The full paths of the eligible pictures, in the order the scan found them. Indices are
// 1-based; callers check 1 <= i <= count() before at() and removeAt().
class ImageList {
 public:
  int count() const { return static_cast<int>(paths_.size()); }
  const std::string& at(int index) const { return paths_.at(static_cast<size_t>(index) - 1); }
  void append(const std::string& path) { paths_.push_back(path); }
  void removeAt(int index) { paths_.erase(paths_.begin() + (index - 1)); }
  void clear() { std::vector<std::string>().swap(paths_); }

 private:
  std::vector<std::string> paths_;
};
