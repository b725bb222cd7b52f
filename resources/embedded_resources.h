// The icons and the program logo, compiled into the executable.
#pragma once

#include <cstddef>
#include <string_view>

struct EmbeddedResource {
  const char* name;  // file name in resources/icons, e.g. "logo.png"
  const unsigned char* data;
  size_t size;
};

// Ends with an entry whose name is null.
extern const EmbeddedResource kEmbeddedResources[];

// The resource of that file name, or null.
const EmbeddedResource* findResource(std::string_view name);
