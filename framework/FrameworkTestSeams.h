#pragma once
// Test seams of the framework layer: the one place where a test takes the part of the user or of
// a failing system. Each seam is an object that is active while it lives (create it on the test's
// stack); at most one of each kind at a time. Without them the framework behaves as in the
// application. The kit's TestSeams.h names these seams under KitTest as well.
//
// MessageBoxResponder
//   While it lives, AfxMessageBox shows nothing. Each call is recorded (text, caption, style,
//   owner, the answer given) and answered with the next queued answer (queueAnswers /
//   setNextAnswer), or with the default answer when the queue is empty.
//
// ModalDriver
//   onNextModal(action) queues an action for the next modal dialog that runs (CDialog::DoModal,
//   and AfxMessageBox or the kit's SkinMessageBox when no responder answers them). The action
//   runs inside that dialog's own event loop, after OnInitDialog and after the window is shown,
//   with the dialog as argument; it drives it as a person would (QTest clicks and keys on
//   controls found by id) and usually ends it. No sleeping or polling: the action is a queued call
//   of the modal loop. A dialog that is still open one event-loop turn after its action returned
//   is ended with IDCANCEL and counted in leftOpen(), so a faulty test fails instead of hanging. A
//   modal dialog without a queued action runs as usual (and waits for a user).
//
// MenuResponder
//   While it lives, CMenu::TrackPopupMenu shows nothing: it records the menu (items with ids,
//   texts, enabled state; position; owner) and picks the id that the chooser returns (0: the
//   menu is dismissed). chooseNext(id) queues a fixed choice.
//
// DrawingFailure
//   While it lives, creating drawing resources fails: CDC::CreateCompatibleDC and
//   CBitmap::CreateCompatibleBitmap, and so the off-screen buffer of the kit's CMemDC. Each
//   failure sets the error code given here as GetLastError(); CMemDC then draws straight onto its
//   target.
//
// HoverPending()
//   Not an object: whether the pointer is being timed for a hover now (it came onto a window and
//   has rested there for less than the hover time). A test sees with it that passing over a window
//   started nothing, without waiting the hover time out.
#include "FrameworkExport.h"
#include "WinTypes.h"

#include <QPoint>
#include <QString>
#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

class QDialog;
class QWidget;

namespace FrameworkTest {

struct MessageBoxCall
{
    QString text;
    QString caption;
    UINT style = 0;
    QWidget* owner = nullptr;
    int answer = 0;
};

// What a message-box responder does: records each call and answers it. The kit's responder for
// SkinMessageBox is made of it too.
class FRAMEWORK_API MessageBoxRecorder
{
  public:
    explicit MessageBoxRecorder(int defaultAnswer) : m_defaultAnswer(defaultAnswer) {}
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void setNextAnswer(int answer) { m_answers.push_back(answer); }
    void queueAnswers(std::initializer_list<int> answers) { m_answers.insert(m_answers.end(), answers); }
    void setDefaultAnswer(int answer) { m_defaultAnswer = answer; }
    const std::vector<MessageBoxCall>& calls() const { return m_calls; }
    std::size_t pendingAnswers() const { return m_answers.size(); }
    void clear() { m_calls.clear(); }

    // Called by the message box in place of showing itself.
    int answer(const QString& text, const QString& caption, UINT style, QWidget* owner);

  protected:
    ~MessageBoxRecorder() = default;

  private:
    std::deque<int> m_answers;
    int m_defaultAnswer;
    std::vector<MessageBoxCall> m_calls;
};

class FRAMEWORK_API MessageBoxResponder : public MessageBoxRecorder
{
  public:
    explicit MessageBoxResponder(int defaultAnswer = IDOK);
    ~MessageBoxResponder();
};

class FRAMEWORK_API ModalDriver
{
  public:
    using Action = std::function<void(QDialog*)>;

    ModalDriver();
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    void onNextModal(Action action) { m_actions.push_back(std::move(action)); }
    std::size_t pending() const { return m_actions.size(); }
    int driven() const { return m_driven; }
    int leftOpen() const { return m_leftOpen; }

    // Called when a modal dialog is about to run its loop.
    void dialogStarting(QDialog* dialog);

  private:
    std::deque<Action> m_actions;
    int m_driven = 0;
    int m_leftOpen = 0;
};

struct MenuItemInfo
{
    UINT id = 0;
    QString text;
    bool enabled = true;
    bool separator = false;
};

struct MenuRecord
{
    std::vector<MenuItemInfo> items;
    QPoint pos;
    QWidget* owner = nullptr;
    UINT chosen = 0;
};

class FRAMEWORK_API MenuResponder
{
  public:
    using Chooser = std::function<UINT(const MenuRecord&)>;

    MenuResponder();
    ~MenuResponder();
    MenuResponder(const MenuResponder&) = delete;
    MenuResponder& operator=(const MenuResponder&) = delete;

    void onNextMenu(Chooser chooser) { m_choosers.push_back(std::move(chooser)); }
    void chooseNext(UINT id)
    {
        onNextMenu([id](const MenuRecord& /*menu*/) { return id; });
    }
    const std::vector<MenuRecord>& menus() const { return m_menus; }

    // Called by CMenu::TrackPopupMenu; returns the chosen id, 0 for none.
    UINT track(MenuRecord record);

  private:
    std::deque<Chooser> m_choosers;
    std::vector<MenuRecord> m_menus;
};

class FRAMEWORK_API DrawingFailure
{
  public:
    explicit DrawingFailure(DWORD errorCode = 8);
    ~DrawingFailure();
    DrawingFailure(const DrawingFailure&) = delete;
    DrawingFailure& operator=(const DrawingFailure&) = delete;

    DWORD errorCode() const { return m_errorCode; }
    int failures() const { return m_failures; }
    // Called for each drawing resource that would be created.
    void recordFailure() { ++m_failures; }

  private:
    DWORD m_errorCode;
    int m_failures = 0;
};

FRAMEWORK_API bool HoverPending();

// The active seams, null when none (used by the framework and the kit).
FRAMEWORK_API MessageBoxResponder* activeMessageBoxResponder();
FRAMEWORK_API ModalDriver* activeModalDriver();
FRAMEWORK_API MenuResponder* activeMenuResponder();
FRAMEWORK_API DrawingFailure* activeDrawingFailure();

} // namespace FrameworkTest
