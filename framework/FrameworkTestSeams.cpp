#include "FrameworkTestSeams.h"

#include "CDialog.h"
#include "InputTranslator.h"

#include <QDialog>
#include <QPointer>

namespace FrameworkTest {

namespace {

MessageBoxResponder* g_responder = nullptr;
ModalDriver* g_driver = nullptr;
MenuResponder* g_menus = nullptr;
DrawingFailure* g_drawing = nullptr;

template <class T> void install(T*& slot, T* seam)
{
    Q_ASSERT_X(!slot, "FrameworkTest", "only one seam of a kind at a time");
    slot = seam;
}

template <class T> void uninstall(T*& slot, T* seam)
{
    if (slot == seam)
        slot = nullptr;
}

void endLeftOpen(QDialog* dialog)
{
    if (auto* d = qobject_cast<CDialog*>(dialog))
        d->EndDialog(IDCANCEL);
    else
        dialog->done(IDCANCEL);
}

} // namespace

int MessageBoxRecorder::answer(const QString& text, const QString& caption, UINT style, QWidget* owner)
{
    int a = m_defaultAnswer;
    if (!m_answers.empty()) {
        a = m_answers.front();
        m_answers.pop_front();
    }
    m_calls.push_back({text, caption, style, owner, a});
    return a;
}

MessageBoxResponder::MessageBoxResponder(int defaultAnswer) : MessageBoxRecorder(defaultAnswer)
{
    install(g_responder, this);
}

MessageBoxResponder::~MessageBoxResponder()
{
    uninstall(g_responder, this);
}

ModalDriver::ModalDriver()
{
    install(g_driver, this);
}

ModalDriver::~ModalDriver()
{
    uninstall(g_driver, this);
}

void ModalDriver::dialogStarting(QDialog* dialog)
{
    if (m_actions.empty())
        return;
    Action action = std::move(m_actions.front());
    m_actions.pop_front();
    QPointer<QDialog> guard(dialog);
    QMetaObject::invokeMethod(
        dialog,
        [this, guard, action = std::move(action)] {
            ++m_driven;
            action(guard.data());
            if (!guard || !guard->isVisible())
                return;
            // One more turn of the loop for anything the action posted, then end what is left.
            QMetaObject::invokeMethod(
                guard.data(),
                [this, guard] {
                    if (guard && guard->isVisible()) {
                        ++m_leftOpen;
                        endLeftOpen(guard.data());
                    }
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

MenuResponder::MenuResponder()
{
    install(g_menus, this);
}

MenuResponder::~MenuResponder()
{
    uninstall(g_menus, this);
}

UINT MenuResponder::track(MenuRecord record)
{
    UINT chosen = 0;
    if (!m_choosers.empty()) {
        Chooser chooser = std::move(m_choosers.front());
        m_choosers.pop_front();
        chosen = chooser(record);
    }
    record.chosen = chosen;
    m_menus.push_back(std::move(record));
    return chosen;
}

DrawingFailure::DrawingFailure(DWORD errorCode) : m_errorCode(errorCode)
{
    install(g_drawing, this);
}

DrawingFailure::~DrawingFailure()
{
    uninstall(g_drawing, this);
}

MessageBoxResponder* activeMessageBoxResponder()
{
    return g_responder;
}
ModalDriver* activeModalDriver()
{
    return g_driver;
}
MenuResponder* activeMenuResponder()
{
    return g_menus;
}
DrawingFailure* activeDrawingFailure()
{
    return g_drawing;
}

bool HoverPending()
{
    return framework::hoverPending();
}

} // namespace FrameworkTest
