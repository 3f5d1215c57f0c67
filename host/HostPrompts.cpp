#include "HostPrompts.h"

#include "SyncDialog.h"

#include <QDateTime>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

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
      file([owner](const QString& title, const QString& filter, bool save) {
          return save ? QFileDialog::getSaveFileName(visibleOwner(owner), title, QString(), filter)
                      : QFileDialog::getOpenFileName(visibleOwner(owner), title, QString(), filter);
      }),
      item([owner](const QString& title, const QString& label, const QStringList& items) {
          bool ok = false;
          const QString chosen =
              QInputDialog::getItem(visibleOwner(owner), title, label, items, 0, false, &ok);
          return ok ? int(items.indexOf(chosen)) : -1;
      }),
      clock([] { return QDateTime::currentSecsSinceEpoch(); }),
      secret([owner](const QString& title, const QString& label) {
          return QInputDialog::getText(visibleOwner(owner), title, label, QLineEdit::Password);
      }),
      syncSettings([owner](SyncSettings& settings) {
          SyncDialog dialog(settings, visibleOwner(owner));
          if (dialog.exec() != QDialog::Accepted)
              return false;
          settings = dialog.settings();
          return true;
      })
{
}
