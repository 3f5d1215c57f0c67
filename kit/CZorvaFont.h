#pragma once
// The kit's fonts: one face for every widget, a label font and the two character formats of
// rich edits (normal text, and the grey look of hints and the empty search box).
#include "FontTypes.h"
#include "KitExport.h"

#include <QString>

class KIT_API CZorvaFont
{
  public:
    static CZorvaFont& GetInstance();

    LOGFONTW GetDefaultLableFont() const;
    // The labels beside the fields of the memo detail pane.
    LOGFONTW GetMemoPropertyDlgTeamLableFont() const;
    CHARFORMATW GetDefaultRichEditFont() const;
    CHARFORMATW GetSearchRichEditDefaultFont() const;

    // The face every kit widget draws its text in.
    static QString FaceName();
    // Text colour of normal text and of hints.
    static constexpr COLORREF TextColour = RGB(0x22, 0x2B, 0x36);
    static constexpr COLORREF HintColour = RGB(0x9A, 0xA3, 0xAE);

  private:
    CZorvaFont() = default;
};
