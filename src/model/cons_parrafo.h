#pragma once
#include "controles.h"

// Constant paragraph (kind 6): several lines printed as they stand.
class CConsParrafo : public CControles {
public:
    CConsParrafo() : CControles(kKindConsParrafo, 1, 0, 0, 1) {}
};
