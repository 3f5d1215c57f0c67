#include "CDataExchange.h"

#include "AfxMessageBox.h"
#include "CDialog.h"
#include "CWnd.h"
#include "ITemplateControl.h"
#include "WinDefs.h"
#include "WindowText.h"

#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

ITemplateControl::~ITemplateControl() = default;

CDataExchange::CDataExchange(CDialog* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

QWidget* CDataExchange::PrepareCtrl(int id)
{
    m_lastControl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    return m_lastControl;
}

void CDataExchange::Fail()
{
    m_failed = true;
    if (!m_lastControl)
        return;
    m_lastControl->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(m_lastControl))
        e->selectAll();
    else if (auto* t = qobject_cast<QTextEdit*>(m_lastControl))
        t->selectAll();
}

namespace {

// True when the control already sits in this dialog under this id (not inside a nested dialog):
// then a data exchange has nothing to attach. Walking up from the control is far cheaper than
// searching the dialog's controls, and the panels exchange data on every memo shown.
bool attachedTo(const QWidget& control, int id, const CDialog* dialog)
{
    if (control.isWindow() || GetDlgCtrlID(&control) != id)
        return false;
    for (const QWidget* w = control.parentWidget(); w; w = w->parentWidget()) {
        if (w == dialog)
            return true;
        if (w->isWindow() || qobject_cast<const CDialog*>(w))
            return false;
    }
    return false;
}

void takePlaceOf(QWidget* placeholder, QWidget& control, QWidget* dialog)
{
    QWidget* parent = placeholder ? placeholder->parentWidget() : dialog;
    const bool wasWindow = control.isWindow();
    control.setParent(parent, control.windowFlags() & ~Qt::WindowType_Mask);
    if (!placeholder) {
        if (wasWindow)
            control.show();
        return;
    }
    if (auto* styled = dynamic_cast<ITemplateControl*>(&control))
        styled->adoptTemplateStyle(placeholder);
    control.setGeometry(placeholder->geometry());
    control.setEnabled(placeholder->isEnabled());
    if (!placeholder->toolTip().isEmpty() && control.toolTip().isEmpty())
        control.setToolTip(placeholder->toolTip());
    const QString text = GetWindowText(placeholder);
    if (!text.isEmpty() && GetWindowText(&control).isEmpty())
        SetWindowText(&control, text);
    if (auto* from = qobject_cast<QPushButton*>(placeholder))
        if (auto* to = qobject_cast<QPushButton*>(&control))
            to->setDefault(from->isDefault());
    if (QLayout* layout = parent ? parent->layout() : nullptr)
        delete layout->replaceWidget(placeholder, &control);
    if (placeholder->focusPolicy() != Qt::NoFocus && control.focusPolicy() != Qt::NoFocus)
        QWidget::setTabOrder(placeholder, &control);
    control.stackUnder(placeholder);
    control.setVisible(!placeholder->isHidden());
    delete placeholder;
}

} // namespace

void DDX_Control(CDataExchange* pDX, int id, QWidget& control)
{
    if (!pDX || pDX->Failed() || !pDX->m_pDlgWnd)
        return;
    CDialog* dialog = pDX->m_pDlgWnd;
    if (attachedTo(control, id, dialog))
        return;
    QWidget* existing = dialog->GetDlgItem(id);
    if (existing == &control)
        return;
    takePlaceOf(existing, control, dialog);
    SetDlgCtrlID(&control, id);
    dialog->HookControl(&control);
}

void DDX_Text(CDataExchange* pDX, int id, QString& value)
{
    if (!pDX || pDX->Failed())
        return;
    QWidget* control = pDX->PrepareCtrl(id);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        value = GetWindowText(control);
    else
        SetWindowText(control, value); // unchanged text is not set again: no new notification
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    if (!pDX || pDX->Failed())
        return;
    QWidget* control = pDX->PrepareCtrl(id);
    if (!control)
        return;
    if (!pDX->m_bSaveAndValidate) {
        SetWindowText(control, QString::number(value));
        return;
    }
    bool ok = false;
    const int read = GetWindowText(control).trimmed().toInt(&ok);
    if (!ok) {
        AfxMessageBox(QStringLiteral(u"请输入一个整数。"), MB_ICONEXCLAMATION, pDX->m_pDlgWnd);
        pDX->Fail();
        return;
    }
    value = read;
}

QString MaxCharsMessage(int maxChars)
{
    return QStringLiteral(u"请输入不超过 %1 个字符。").arg(maxChars);
}

void DDV_MaxChars(CDataExchange* pDX, const QString& value, int maxChars)
{
    if (!pDX || pDX->Failed())
        return;
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->LastControl())
            LimitText(pDX->LastControl(), maxChars);
        return;
    }
    if (value.size() > maxChars) {
        AfxMessageBox(MaxCharsMessage(maxChars), MB_ICONEXCLAMATION, pDX->m_pDlgWnd);
        pDX->Fail();
    }
}
