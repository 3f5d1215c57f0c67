#pragma once
// The application's style, with the icons of controls that are seldom shown looked up when they
// are first drawn rather than when the control is made. The menu bar makes its overflow button at
// once, and looking its arrow up reads an image file, which loads every image format plugin Qt
// has (JPEG with libjpeg among them): a third of a megabyte at start-up for a button that only
// appears when the window is too narrow for the menus.
#include <QProxyStyle>

class LazyIconStyle : public QProxyStyle
{
  public:
    // Takes `base` over.
    explicit LazyIconStyle(QStyle* base);
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override;

    // Puts the style in front of the application's present one (a -style option included).
    static void install();
};
