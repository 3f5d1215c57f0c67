#pragma once
// Colours for the kit's widgets that draw on their own surfaces.
#include <QPalette>

// Gives `palette` `colour` for `role` in every colour group, disabled included.
inline void SetAllGroups(QPalette& palette, QPalette::ColorRole role, const QColor& colour)
{
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        palette.setColor(QPalette::ColorGroup(group), role, colour);
}

// Gives `palette` `ink` for every text role and `paper` for every surface role, in every colour
// group, disabled included.
inline void SetInkAndPaper(QPalette& palette, const QColor& ink, const QColor& paper)
{
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        SetAllGroups(palette, role, ink);
    for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window})
        SetAllGroups(palette, role, paper);
}
