#pragma once
#include <memory>

#include "model/controles.h"

// A default-constructed element of the given kind, or null for a kind outside 0..11.
std::unique_ptr<CControles> CreateElementOfKind(int32_t kind);

// A new element as the designer's insert command makes it at the page point (x, y), with
// its default text and rectangle; null for the kinds this command does not create here
// (the table, the image, which needs its picture, and numbers outside 0..11).
std::unique_ptr<CControles> CreateElementAt(int32_t kind, int x, int y);
