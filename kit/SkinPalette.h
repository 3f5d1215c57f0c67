#pragma once
// Colours for the kit's widgets that draw on their own surfaces.
#include <QPalette>

// Gives `palette` `ink` for every text role and `paper` for every surface role, in every colour
// group, disabled included.
inline void SetInkAndPaper(QPalette& palette, const QColor& ink, const QColor& paper)
{
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        const auto g = QPalette::ColorGroup(group);
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
            palette.setColor(g, role, ink);
        for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window})
            palette.setColor(g, role, paper);
    }
}
