#pragma once
// A skinned push button: a face from the common skin image, stretched to the button by its
// rounded borders, with a glyph before the caption. The normal face is drawn at rest, the active
// face under the mouse and, a shade darker with the content nudged down, while pressed; a
// disabled button fades and greys its glyph. A click is QAbstractButton::clicked (dialogs turn it
// into the button's command).
#include "CSkinRect.h"
#include "CWnd.h"
#include "KitExport.h"

#include <QImage>
#include <QPushButton>
#include <optional>

// SetButtonInfo styles.
constexpr int ZIB_STYLE_FACE = 0; // the face is always drawn
constexpr int ZIB_STYLE_FLAT = 1; // no face at rest: only under the mouse and while pressed

class KIT_API CZorvaIconBtton : public CWndT<QPushButton>
{
    Q_OBJECT

  public:
    explicit CZorvaIconBtton(QWidget* parent = nullptr);

    // glyph: a 27 x 18 area drawn before the caption (empty: none); face and activeFace: 32 x 32
    // areas, stretched by their 8-pixel borders; width: the button's width.
    void SetButtonInfo(const CSkinRect& glyph, const CSkinRect& face, const CSkinRect& activeFace, int width,
                       int style = ZIB_STYLE_FACE);
    void SetBkColor(COLORREF colour);

    enum class Look { Normal, Hover, Pressed, Disabled };
    Look look() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QImage faceImage(Look look) const;

    CSkinRect m_glyph;
    CSkinRect m_face;
    CSkinRect m_activeFace;
    int m_width = 0;
    int m_style = ZIB_STYLE_FACE;
    bool m_hover = false;
    std::optional<QColor> m_bkColour;
};
