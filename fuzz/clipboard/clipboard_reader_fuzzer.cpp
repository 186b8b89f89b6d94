// Any bytes found on the clipboard under our type are either refused with a message and
// nothing kept, or read into elements that copy back to bytes reading to the same
// elements; the pasted elements can then be moved and sized as a paste moves them off
// their originals, whatever their coordinates.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/element_clipboard.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ElementList elements;
    std::string message;
    if (!DecodeElements(std::span(data, size), elements, message)) {
        if (!elements.empty() || message.empty())
            std::abort();
        return 0;
    }
    if (elements.empty())
        std::abort();
    std::vector<const CControles*> inOrder;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it)
        inOrder.push_back(it->get());
    const std::vector<uint8_t> bytes = EncodeElements(inOrder);
    ElementList again;
    if (!DecodeElements(bytes, again, message) || again.size() != elements.size())
        std::abort();
    inOrder.clear();
    for (auto it = again.rbegin(); it != again.rend(); ++it)
        inOrder.push_back(it->get());
    if (EncodeElements(inOrder) != bytes)
        std::abort();
    for (auto& e : elements) {
        e->Offset(50, -50, false);
        e->ResizeByHandle(kHandleRight, -40, 0);
        e->ResizeByHandle(kHandleBottom, 0, 40);
    }
    return 0;
}
