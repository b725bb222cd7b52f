#include "embedded_resources.h"

const EmbeddedResource* findResource(std::string_view name) {
  for (const EmbeddedResource* r = kEmbeddedResources; r->name; ++r)
    if (name == r->name) return r;
  return nullptr;
}
