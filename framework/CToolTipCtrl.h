#pragma once
// Tool tips for a window's controls: AddTool registers a control (or an area of it) with its text;
// while the tip is active, resting the mouse on the control shows the text, with the title and
// icon of SetTitle, in a balloon (TTS_BALLOON) or a plain box. Only the pointer moving over a
// control starts its tip: a control that moves or grows under a resting pointer (a window resized
// or laid out anew) shows none. Moving off, clicking, typing, and the control or its window moving,
// changing size, hiding or losing the focus hide it. RelayEvent takes the input a dialog sees in
// PreTranslateMessage.
#include "CRect.h"
#include "FrameworkExport.h"
#include "MSG.h"
#include "WinDefs.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>
#include <vector>

class QWidget;
class TipWindow;

// SetDelayTime durations.
constexpr UINT TTDT_AUTOMATIC = 0;
constexpr UINT TTDT_RESHOW = 1;
constexpr UINT TTDT_AUTOPOP = 2;
constexpr UINT TTDT_INITIAL = 3;

class FRAMEWORK_API CToolTipCtrl : public QObject
{
    Q_OBJECT
  public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    BOOL Create(QWidget* parent, DWORD style = 0);
    // The tip window once created, else null.
    QWidget* GetSafeHwnd() const;
    void Activate(BOOL activate);
    // `area` in the control's client coordinates; null: the whole control.
    BOOL AddTool(QWidget* tool, const QString& text, const CRect* area = nullptr, UINT id = 0);
    void DelTool(QWidget* tool, UINT id = 0);
    void UpdateTipText(const QString& text, QWidget* tool, UINT id = 0);
    // icon: TTI_NONE, TTI_INFO, TTI_WARNING, TTI_ERROR.
    BOOL SetTitle(UINT icon, const QString& title);
    void SetDelayTime(UINT duration, int milliseconds);
    void SetMaxTipWidth(int width) { m_maxWidth = width; }
    void RelayEvent(MSG* msg);

    // Shows the tip of `tool` now (its first registered area), pointing at the area's centre.
    bool ShowTip(QWidget* tool);
    void Pop();

    bool IsTipVisible() const;
    QWidget* CurrentTool() const { return m_current; }
    QString GetText(QWidget* tool, UINT id = 0) const;
    QString Title() const { return m_title; }
    UINT TitleIcon() const { return m_icon; }
    bool IsBalloon() const { return (m_style & TTS_BALLOON) != 0; }
    bool IsActive() const { return m_bActive; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    struct Tool
    {
        QPointer<QWidget> window;
        UINT id;
        QString text;
        std::optional<CRect> area;
    };
    const Tool* toolAt(QWidget* window, QPoint local) const;
    void show(const Tool& tool, QPoint anchor);
    // The pointer is at `global` over `window`, having just come onto it when `entered`: starts
    // the wait for its tip, which shows once the pointer has moved there.
    void pointerOver(QWidget* window, QPoint global, bool entered);

    QPointer<TipWindow> m_tip;
    DWORD m_style = 0;
    bool m_bActive = false;
    QString m_title;
    UINT m_icon = TTI_NONE;
    int m_maxWidth = 300;
    int m_initialDelay = 500;
    int m_autoPop = 10000;
    std::vector<Tool> m_tools;
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_currentWindow;   // the current tool's top-level window, watched while shown
    std::optional<QPoint> m_lastPointer; // where the pointer was last seen over a tool (screen)
    bool m_bMoved = false;               // the pointer moved over the pending tool since it came onto it
    QPointer<QWidget> m_pending;
    QTimer m_showTimer;
    QTimer m_hideTimer;
};
