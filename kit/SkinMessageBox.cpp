#include "SkinMessageBox.h"

#include "AfxMessageBox.h"
#include "TestSeams.h"
#include "WinDefs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon iconOf(UINT style)
{
    switch (style & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

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

int SkinMessageBox(const QString& text, const QString& caption, UINT style, int reserved, QWidget* owner)
{
    static_cast<void>(reserved);
    const QString title = caption.isEmpty() ? QStringLiteral(u"提示") : caption;
    if (KitTest::MessageBoxResponder* responder = KitTest::activeMessageBoxResponder())
        return responder->answer(text, title, style, owner);

    QMessageBox box(iconOf(style), title, text, QMessageBox::NoButton, owner);
    box.setStyleSheet(skin());
    box.setTextFormat(Qt::PlainText);
    struct Choice
    {
        QMessageBox::ButtonRole role;
        const char16_t* label;
        int answer;
    };
    std::vector<Choice> choices;
    switch (style & 0x0F) {
    case MB_OKCANCEL: choices = {{QMessageBox::AcceptRole, u"确定", IDOK}, {QMessageBox::RejectRole, u"取消", IDCANCEL}}; break;
    case MB_YESNOCANCEL:
        choices = {{QMessageBox::YesRole, u"是", IDYES}, {QMessageBox::NoRole, u"否", IDNO},
                   {QMessageBox::RejectRole, u"取消", IDCANCEL}};
        break;
    case MB_YESNO: choices = {{QMessageBox::YesRole, u"是", IDYES}, {QMessageBox::NoRole, u"否", IDNO}}; break;
    default: choices = {{QMessageBox::AcceptRole, u"确定", IDOK}}; break;
    }
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (const Choice& c : choices)
        buttons.emplace_back(box.addButton(QString::fromUtf16(c.label), c.role), c.answer);
    box.setDefaultButton(buttons.front().first);
    // Escape answers like the platform: Cancel where there is one, No for a plain question,
    // OK for a notice.
    box.setEscapeButton(buttons.back().first);

    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    if (KitTest::ModalDriver* driver = KitTest::activeModalDriver())
        driver->dialogStarting(&box);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, answer] : buttons)
        if (button == clicked)
            return answer;
    return buttons.back().second;
}
