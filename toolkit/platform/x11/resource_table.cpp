#include "toolkit/platform/x11/resource_table.h"

#include <vector>

#include "toolkit/bitmap.h"

namespace Toolkit {
namespace platform {
namespace {

struct Table {
  ResourceType type;
  const zendrel::EmbeddedResource* entries;
  std::size_t count;
};

std::vector<Table>& extraTables() {
  static std::vector<Table> tables;
  return tables;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (upper(*a) != upper(*b)) return false;
  return *a == *b;
}

bool search(const zendrel::EmbeddedResource* entries, std::size_t count, const char* name, ResourceBytes& out) {
  for (std::size_t i = 0; i < count; ++i) {
    if (entries[i].name && sameName(entries[i].name, name)) {
      out.data = entries[i].data;
      out.size = entries[i].size;
      return out.data != nullptr;
    }
  }
  return false;
}

}  // namespace

void registerResourceTable(ResourceType type, const zendrel::EmbeddedResource* table, std::size_t count) {
  for (const Table& t : extraTables())
    if (t.entries == table && t.type == type) return;
  extraTables().push_back(Table{type, table, count});
}

bool findResource(const CResourceDescription& desc, ResourceType type, ResourceBytes& out) {
  out = ResourceBytes();
  // The compiled-in images carry names only; numeric ids find nothing here.
  if (desc.type != CResourceDescription::kStringType || !desc.u.name) return false;
  if (type == ResourceType::kData &&
      search(zendrel::kEmbeddedResources, zendrel::kEmbeddedResourceCount, desc.u.name, out))
    return true;
  for (const Table& t : extraTables())
    if (t.type == type && search(t.entries, t.count, desc.u.name, out)) return true;
  return false;
}

}  // namespace platform
}  // namespace Toolkit
