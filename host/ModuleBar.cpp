#include "ModuleBar.h"

#include <QAction>
#include <QActionGroup>
#include <QWidget>

ModuleBar::ModuleBar(QWidget* parent) : QToolBar(parent), m_group(new QActionGroup(this))
{
    setObjectName(QStringLiteral("moduleBar"));
    setWindowTitle(QStringLiteral("模块"));
    setMovable(false);
    setFloatable(false);
    setOrientation(Qt::Vertical);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setContextMenuPolicy(Qt::PreventContextMenu);
    m_group->setExclusive(true);
    setStyleSheet(QStringLiteral(
        "QToolBar#moduleBar { background: #2f3e4e; border: none; padding: 6px 4px; spacing: 6px; }"
        "QToolBar#moduleBar QToolButton { color: #dfe7ef; border: none; border-radius: 6px;"
        " padding: 6px 4px; min-width: 64px; }"
        "QToolBar#moduleBar QToolButton:hover { background: #3d5064; }"
        "QToolBar#moduleBar QToolButton:checked { background: #4a6a8a; color: white; }"));
}

void ModuleBar::addPanel(QWidget* panel, const QIcon& icon, const QString& caption)
{
    auto* action = new QAction(icon, caption, this);
    action->setCheckable(true);
    action->setToolTip(caption);
    m_panels.insert(action, panel);
    m_group->addAction(action);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, action] {
        if (QWidget* target = m_panels.value(action))
            Q_EMIT panelChosen(target);
    });
    connect(panel, &QObject::destroyed, this, [this, action] {
        m_panels.remove(action);
        delete action;
    });
    action->setChecked(true);
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
