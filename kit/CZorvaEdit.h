#pragma once
// The skinned rich edit: a CRichEditCtrl inside a frame from the common skin image, with an
// optional glyph at either end of the field (a magnifier before a search text, say). The frame
// turns blue while the edit has the focus and fades while it is disabled.
#include "CRichEditCtrl.h"
#include "CSkinRect.h"
#include "KitExport.h"

#include <optional>

class KIT_API CZorvaEdit : public CRichEditCtrl
{
    Q_OBJECT

  public:
    explicit CZorvaEdit(QWidget* parent = nullptr);

    // leftGlyph, rightGlyph: areas drawn at the ends of the field (empty: none); frame: the
    // field's frame, stretched by its 6-pixel borders; width: the edit's width; style: 0.
    void SetEditInfo(const CSkinRect& leftGlyph, const CSkinRect& frame, const CSkinRect& rightGlyph,
                     int width, int style = 0);
    // The colour round the frame's rounded corners (the dialog's background).
    void SetBkColor(COLORREF colour);

    QSize sizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void updateMargins();
    void paintFrame();

    CSkinRect m_leftGlyph;
    CSkinRect m_frame;
    CSkinRect m_rightGlyph;
    int m_width = 0;
    std::optional<QColor> m_bkColour;
};
