#pragma once
#include "controles.h"

// Constant text line (kind 5): printed as it stands.
class CConsText : public CControles {
public:
    CConsText() : CControles(kKindConsText, 1, 1, 8, 1) {}
};
