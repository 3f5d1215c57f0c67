#include "AfxMessageBox.h"

#include "FrameworkTestSeams.h"
#include "WinDefs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

namespace {

AfxMessageBoxPresenter g_presenter = nullptr;

QMessageBox::Icon iconOf(UINT style)
{
    switch (style & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct Choice
{
    QMessageBox::ButtonRole role;
    const char16_t* label;
    int answer;
};

// The buttons of a style, the default first and the one Escape presses last: Escape answers like
// the platform, Cancel where there is one, No for a plain question, OK for a notice.
std::vector<Choice> choicesOf(UINT style)
{
    switch (style & 0x0F) {
    case MB_OKCANCEL:
        return {{QMessageBox::AcceptRole, u"确定", IDOK}, {QMessageBox::RejectRole, u"取消", IDCANCEL}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::YesRole, u"是", IDYES},
                {QMessageBox::NoRole, u"否", IDNO},
                {QMessageBox::RejectRole, u"取消", IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::YesRole, u"是", IDYES}, {QMessageBox::NoRole, u"否", IDNO}};
    default:
        return {{QMessageBox::AcceptRole, u"确定", IDOK}};
    }
}

} // namespace

AfxMessageBoxPresenter AfxSetMessageBoxPresenter(AfxMessageBoxPresenter presenter)
{
    return std::exchange(g_presenter, presenter);
}

int AfxMessageBox(const QString& text, UINT style, QWidget* owner)
{
    const QString caption = QStringLiteral(u"提示");
    if (FrameworkTest::MessageBoxResponder* responder = FrameworkTest::activeMessageBoxResponder())
        return responder->answer(text, caption, style, owner);
    if (g_presenter)
        return g_presenter(text, caption, style, owner);

    return AfxRunMessageBox(text, caption, style, owner);
}

int AfxRunMessageBox(const QString& text, const QString& caption, UINT style, QWidget* owner,
                     const QString& styleSheet)
{
    QMessageBox box(iconOf(style), caption, text, QMessageBox::NoButton, owner);
    if (!styleSheet.isEmpty())
        box.setStyleSheet(styleSheet);
    box.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QPushButton*, int>> buttons;
    for (const Choice& c : choicesOf(style))
        buttons.emplace_back(box.addButton(QString::fromUtf16(c.label), c.role), c.answer);
    box.setDefaultButton(buttons.front().first);
    box.setEscapeButton(buttons.back().first);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    if (FrameworkTest::ModalDriver* driver = FrameworkTest::activeModalDriver())
        driver->dialogStarting(&box);
    box.exec();
    for (const auto& [button, answer] : buttons)
        if (button == box.clickedButton())
            return answer;
    return buttons.back().second;
}
