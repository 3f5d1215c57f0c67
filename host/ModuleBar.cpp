#include "ModuleBar.h"

#include "ModuleButton.h"

#include <QPainter>
#include <QVBoxLayout>

ModuleBar::ModuleBar(QWidget* parent) : QWidget(parent), m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("moduleBar"));
    m_layout->setContentsMargins(4, 6, 4, 6);
    m_layout->setSpacing(6);
    m_layout->addStretch(1);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setMinimumWidth(80);
}

void ModuleBar::addPanel(QWidget* panel, const QIcon& icon, const QString& caption)
{
    auto* button = new ModuleButton(icon, caption, this);
    m_panels.insert(button, panel);
    m_layout->insertWidget(m_layout->count() - 1, button);
    connect(button, &QAbstractButton::clicked, this, [this, button] {
        if (QWidget* target = m_panels.value(button))
            Q_EMIT panelChosen(target);
    });
    connect(panel, &QObject::destroyed, this, [this, button] {
        m_panels.remove(button);
        delete button;
    });
    button->setChecked(true);
}

QString ModuleBar::captionOf(const QWidget* panel) const
{
    for (auto it = m_panels.cbegin(); it != m_panels.cend(); ++it) {
        if (it.value() == panel)
            return it.key()->text();
    }
    return {};
}

int ModuleBar::panelCount() const
{
    return int(m_panels.size());
}

void ModuleBar::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor(0x2F, 0x3E, 0x4E));
}
