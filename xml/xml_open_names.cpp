// An end-tag name E matches an open name O when O is E or goes on after E
// with '=', '[' or ']' (an open name holds no space and no '/'). So an open
// element is filed under O and under every prefix of O that ends before one
// of those characters; the hashes of the prefixes grow along the name, so
// filing costs one pass over it.
#include "xml/xml_open_names.h"

#include "xml/xml_scanner.h"

namespace {

constexpr std::uint64_t kHashStart = 14695981039346656037ull;
constexpr std::uint64_t kHashFactor = 1099511628211ull;

char16_t Fold(char16_t c, bool ignoreCase) {
  return ignoreCase && c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

std::uint64_t HashStep(std::uint64_t hash, char16_t c) { return (hash ^ c) * kHashFactor; }

bool EndsPrefix(char16_t c) { return c == u'=' || c == u'[' || c == u']'; }

}  // namespace

OpenNameIndex::OpenNameIndex(bool ignoreCase)
    : ignoreCase_(ignoreCase), levels_(16, KeyHash{}, KeyEqual{ignoreCase}) {}

bool OpenNameIndex::KeyEqual::operator()(const Key& a, const Key& b) const {
  return a.hash == b.hash && a.name.size() == b.name.size() && NameMatches(a.name, b.name, ignoreCase);
}

template <typename Visit>
void OpenNameIndex::ForEachKey(std::u16string_view name, Visit visit) const {
  std::uint64_t hash = kHashStart;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (i > 0 && EndsPrefix(name[i])) visit(Key{name.substr(0, i), hash});
    hash = HashStep(hash, Fold(name[i], ignoreCase_));
  }
  if (!name.empty()) visit(Key{name, hash});
}

void OpenNameIndex::Push(std::u16string_view name, std::size_t level) {
  ForEachKey(name, [this, level](const Key& key) { levels_[key].push_back(level); });
}

void OpenNameIndex::Pop(std::u16string_view name) {
  ForEachKey(name, [this](const Key& key) { levels_.find(key)->second.pop_back(); });
}

std::size_t OpenNameIndex::Innermost(std::u16string_view endName) const {
  std::uint64_t hash = kHashStart;
  for (char16_t c : endName) hash = HashStep(hash, Fold(c, ignoreCase_));
  const auto found = levels_.find(Key{endName, hash});
  return found == levels_.end() || found->second.empty() ? kNone : found->second.back();
}
