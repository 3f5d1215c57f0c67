#include "HostPrompts.h"

#include <QDateTime>
#include <QFileDialog>
#include <QInputDialog>
#include <QListView>
#include <QMessageBox>
#include <QStyle>

namespace {

// Over the window while it is on screen; on their own before it is shown (start-up errors).
QWidget* visibleOwner(QWidget* owner)
{
    return owner && owner->isVisible() ? owner : nullptr;
}

} // namespace

HostPrompts::Report HostPrompts::defaultError(QWidget* owner)
{
    return [owner](const QString& title, const QString& text) {
        QMessageBox::critical(visibleOwner(owner), title, text);
    };
}

HostPrompts::HostPrompts(QWidget* owner)
    : error(defaultError(owner)), notice([owner](const QString& title, const QString& text) {
          QMessageBox::information(visibleOwner(owner), title, text);
      }),
      question([owner](const QString& title, const QString& text) {
          return QMessageBox::question(visibleOwner(owner), title, text, QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No) == QMessageBox::Yes;
      }),
      file([owner](const QString& title, const QString& filter, const QString& proposed, bool save) {
          return save ? QFileDialog::getSaveFileName(visibleOwner(owner), title, proposed, filter)
                      : QFileDialog::getOpenFileName(visibleOwner(owner), title, proposed, filter);
      }),
      item([owner](const QString& title, const QString& label, const QStringList& items, int current) {
          // A list rather than a drop-down: every choice is in sight, with what it says about it.
          QInputDialog dialog(visibleOwner(owner));
          dialog.setWindowTitle(title);
          dialog.setLabelText(label);
          dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
          dialog.setComboBoxItems(items);
          dialog.setTextValue(items.value(current));
          // As wide as its longest entry, so that no choice ends behind a scroll bar.
          if (auto* list = dialog.findChild<QListView*>()) {
              const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
              list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
          }
          return dialog.exec() == QDialog::Accepted ? int(items.indexOf(dialog.textValue())) : -1;
      }),
      text(
          [owner](const QString& title, const QString& label, const QString& text) -> std::optional<QString> {
              bool ok = false;
              QString entered =
                  QInputDialog::getText(visibleOwner(owner), title, label, QLineEdit::Normal, text, &ok);
              return ok ? std::optional<QString>(std::move(entered)) : std::nullopt;
          }),
      clock([] { return QDateTime::currentSecsSinceEpoch(); }),
      secret([owner](const QString& title, const QString& label) {
          return QInputDialog::getText(visibleOwner(owner), title, label, QLineEdit::Password);
      })
{
}
