#pragma once
// The window a CToolTipCtrl shows: an icon and a bold title over the text, in a rounded box whose
// tail points at the anchor (balloon style) or in a plain box.
#include <QIcon>
#include <QPainterPath>
#include <QWidget>

class TipWindow : public QWidget
{
  public:
    explicit TipWindow(QWidget* parent);

    void setContent(const QIcon& icon, const QString& title, const QString& text, bool balloon, int maxWidth);
    // Places the window so that its tail (or top-left corner) is at `anchor`, in screen pixels.
    void showAt(QPoint anchor);

    QString title() const { return m_title; }
    QString text() const { return m_text; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    QSize layoutContent();
    // The box (with its tail, for a balloon) in the window's pixels.
    QPainterPath outline() const;

    QIcon m_icon;
    QString m_title;
    QString m_text;
    bool m_balloon = true;
    int m_maxWidth = 300;
    QRect m_iconRect, m_titleRect, m_textRect;
    bool m_tailUp = true;
    int m_tailX = 20;
};
