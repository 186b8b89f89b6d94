#pragma once
#include "controles.h"

// Image (kind 9): a reserved kind without content. It keeps its number and display name;
// no command creates it and the format readers refuse it.
class CImagen : public CControles {
public:
    CImagen() : CControles(kKindImagen, 1, 0, 0, 1) {}
    void UpdateHandles() override { ComputeHandles(HandleSet::All); }

    int32_t m_reserved = 1;
};
