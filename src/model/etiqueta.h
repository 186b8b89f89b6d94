#pragma once
#include "controles.h"

// Label (kind 10): text for the people who design and fill the form, never printed.
class CEtiqueta : public CControles {
public:
    CEtiqueta() : CControles(kKindEtiqueta, 0, 1, 8, 1) {}
};
