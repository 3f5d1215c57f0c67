#pragma once
// Kit-internal hooks shared between its source files; not part of the kit's interface.
#include <QtGlobal>
#include <optional>

namespace kit {

// The modifiers of the input event being dispatched, for GetKeyState; nullopt outside one.
void setInputModifiers(std::optional<Qt::KeyboardModifiers> modifiers);

} // namespace kit
