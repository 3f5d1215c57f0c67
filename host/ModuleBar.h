#pragma once
// The bar down the left side of the host window: one button per registered panel, with the
// module's image and caption. Choosing a button brings its panel to the front.
#include <QHash>
#include <QPointer>
#include <QWidget>

class ModuleButton;
class QVBoxLayout;

class ModuleBar : public QWidget
{
    Q_OBJECT
  public:
    explicit ModuleBar(QWidget* parent = nullptr);

    // Adds a button for `panel` and checks it. The button goes away with the panel.
    void addPanel(QWidget* panel, const QIcon& icon, const QString& caption);
    // The caption shown for `panel`, empty if it has no button.
    QString captionOf(const QWidget* panel) const;
    int panelCount() const;

  Q_SIGNALS:
    void panelChosen(QWidget* panel);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QVBoxLayout* m_layout;
    QHash<ModuleButton*, QPointer<QWidget>> m_panels;
};
