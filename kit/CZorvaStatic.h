#pragma once
// A skinned label: its text in a given font and colour over either an area of the common skin
// image stretched to its size, its background colour, or (with neither) its parent's background.
#include "CSkinRect.h"
#include "CWnd.h"
#include "FontTypes.h"
#include "KitExport.h"

#include <QLabel>
#include <optional>

// SetInfo formats.
constexpr UINT ZS_LEFT = 0;
constexpr UINT ZS_CENTER = 1;
constexpr UINT ZS_RIGHT = 2;

class KIT_API CZorvaStatic : public CWndT<QLabel>
{
    Q_OBJECT

  public:
    explicit CZorvaStatic(QWidget* parent = nullptr);

    // back: the skin area behind the text (empty: none); width and height: the label's size;
    // font and colour of the text; nFormat: ZS_LEFT, ZS_CENTER or ZS_RIGHT, vertically centred.
    void SetInfo(const CSkinRect& back, int width, int height, const LOGFONTW& font, COLORREF colour,
                 UINT nFormat = ZS_LEFT);
    void SetBkColor(COLORREF colour);
    void SetTextColor(COLORREF colour);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CSkinRect m_back;
    std::optional<QColor> m_bkColour;
    QSize m_size;
};
