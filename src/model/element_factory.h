#pragma once
#include <memory>

#include "controles.h"

// A default-constructed element of the given kind, or null for a kind outside 0..10.
std::unique_ptr<CControles> CreateElementOfKind(int32_t kind);
