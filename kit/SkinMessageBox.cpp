#include "SkinMessageBox.h"

#include "AfxMessageBox.h"
#include "TestSeams.h"
#include "WinDefs.h"

#include <QString>

namespace {

const QString& skin()
{
    static const QString css = QStringLiteral(
        "QMessageBox { background: #F3F7FB; }"
        "QMessageBox QLabel { color: #1E2B3A; font-size: 10pt; }"
        "QPushButton { min-width: 72px; min-height: 24px; padding: 2px 12px; color: #1E2B3A;"
        "  border: 1px solid #9DB4CF; border-radius: 4px;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #DCE8F5); }"
        "QPushButton:hover { border-color: #4F86C6;"
        "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #C9DDF2); }"
        "QPushButton:pressed { background: #B9D1EC; }"
        "QPushButton:default { border: 1px solid #2F6DB5; }");
    return css;
}

// The framework's own message boxes look like the kit's for as long as the kit is loaded.
int presentFrameworkBox(const QString& text, const QString& caption, UINT style, QWidget* owner)
{
    return SkinMessageBox(text, caption, style, 0, owner);
}

const struct FrameworkBoxesInKitLook
{
    FrameworkBoxesInKitLook() { AfxSetMessageBoxPresenter(&presentFrameworkBox); }
    ~FrameworkBoxesInKitLook()
    {
        if (AfxMessageBoxPresenter other = AfxSetMessageBoxPresenter(nullptr); other != &presentFrameworkBox)
            AfxSetMessageBoxPresenter(other);
    }
} g_frameworkBoxesInKitLook;

} // namespace

int SkinMessageBox(const QString& text, const QString& caption, UINT style, int /*reserved*/, QWidget* owner)
{
    const QString title = caption.isEmpty() ? QStringLiteral(u"提示") : caption;
    if (KitTest::MessageBoxResponder* responder = KitTest::activeMessageBoxResponder())
        return responder->answer(text, title, style, owner);

    return AfxRunMessageBox(text, title, style, owner, skin());
}
