// The names of the open elements of a parse, looked up by end-tag name in
// time that does not grow with the depth: a run of stray end tags under
// deep nesting would otherwise walk the whole stack for each of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

class OpenNameIndex {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  explicit OpenNameIndex(bool ignoreCase);

  // Files the element open at level (levels count up from 0, outermost
  // first) under its name.
  void Push(std::u16string_view name, std::size_t level);
  // Removes the innermost element, the one pushed last, named name.
  void Pop(std::u16string_view name);
  // The innermost level whose name the end-tag name matches, or kNone.
  std::size_t Innermost(std::u16string_view endName) const;

 private:
  struct Key {
    std::u16string_view name;
    std::uint64_t hash;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const { return static_cast<std::size_t>(key.hash); }
  };
  struct KeyEqual {
    bool ignoreCase;
    bool operator()(const Key& a, const Key& b) const;
  };

  // Every key an open name is filed under, with its hash.
  template <typename Visit>
  void ForEachKey(std::u16string_view name, Visit visit) const;

  bool ignoreCase_;
  std::unordered_map<Key, std::vector<std::size_t>, KeyHash, KeyEqual> levels_;
};
