#pragma once
// Framework-internal hooks shared between its source files; not part of the framework's interface.
#include <QtGlobal>
#include <optional>

namespace framework {

// The modifiers of the input event being dispatched, for GetKeyState; nullopt outside one.
void setInputModifiers(std::optional<Qt::KeyboardModifiers> modifiers);

} // namespace framework
