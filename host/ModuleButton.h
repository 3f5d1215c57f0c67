#pragma once
// One button of the module bar: the module's image above its caption, on a rounded tile that
// lights up under the mouse and stays lit while its panel is in front.
#include <QAbstractButton>

class ModuleButton : public QAbstractButton
{
    Q_OBJECT
  public:
    ModuleButton(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool m_hover = false;
};
