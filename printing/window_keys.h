// Keys a whole window answers, when the control holding the focus left the
// key alone: Escape for a window that is not modal (modal ones close by
// themselves), Enter to confirm. The key clicks one of the window's buttons,
// so that its handler runs as for the person's click.
#pragma once

#include <cstdint>

namespace tavrin::printing {

enum class WindowKey { kEscape, kEnter };

// From now on the key reaching the loaded window `windowId` clicks its button
// `buttonId`; the binding lasts as long as the window.
void ClickOnWindowKey(uint32_t windowId, WindowKey key, uint32_t buttonId);

}  // namespace tavrin::printing
