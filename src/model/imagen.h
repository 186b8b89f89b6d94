#pragma once
#include "model/controles.h"

// Image (kind 9): a reserved kind without content. It keeps its number, display name and
// four-handle rule; no command creates it, the format readers refuse it, and it draws
// and prints nothing.
class CImagen : public CControles {
public:
    CImagen() : CControles(kKindImagen, 1, 0, 0, 1) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::All); }

    int32_t m_reserved = 1;
};
