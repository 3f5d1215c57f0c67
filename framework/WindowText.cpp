#include "WindowText.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

IWindowText::~IWindowText() = default;

QString GetWindowText(const QWidget* window)
{
    if (!window)
        return {};
    if (auto* t = dynamic_cast<const IWindowText*>(window))
        return t->windowText();
    if (auto* e = qobject_cast<const QLineEdit*>(window))
        return e->text();
    if (auto* e = qobject_cast<const QTextEdit*>(window))
        return e->toPlainText();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(window))
        return e->toPlainText();
    if (auto* b = qobject_cast<const QAbstractButton*>(window))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(window))
        return l->text();
    if (auto* c = qobject_cast<const QComboBox*>(window))
        return c->currentText();
    return window->windowTitle();
}

void SetWindowText(QWidget* window, const QString& text)
{
    if (!window || GetWindowText(window) == text)
        return;
    if (auto* t = dynamic_cast<IWindowText*>(window))
        t->setWindowText(text);
    else if (auto* e = qobject_cast<QLineEdit*>(window))
        e->setText(text);
    else if (auto* e = qobject_cast<QTextEdit*>(window))
        e->setPlainText(text);
    else if (auto* e = qobject_cast<QPlainTextEdit*>(window))
        e->setPlainText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(window))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(window))
        l->setText(text);
    else if (auto* c = qobject_cast<QComboBox*>(window)) {
        if (c->isEditable())
            c->setEditText(text);
        else
            c->setCurrentIndex(c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    } else
        window->setWindowTitle(text);
}

bool LimitText(QWidget* window, int maxChars)
{
    if (auto* t = dynamic_cast<IWindowText*>(window)) {
        t->limitText(maxChars);
        return true;
    }
    if (auto* e = qobject_cast<QLineEdit*>(window)) {
        e->setMaxLength(maxChars > 0 ? maxChars : 32767);
        return true;
    }
    if (auto* c = qobject_cast<QComboBox*>(window); c && c->lineEdit()) {
        c->lineEdit()->setMaxLength(maxChars > 0 ? maxChars : 32767);
        return true;
    }
    return false;
}
