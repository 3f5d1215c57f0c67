#pragma once
// 数据 → 同步设置…: the server's address, the user name and the password, with a connection test
// that says what failed (the address, TLS, the password, no CalDAV, no notes on that calendar).
#include "CalDavSync.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class Q_DECL_EXPORT SyncDialog : public QDialog
{
    Q_OBJECT
  public:
    SyncDialog(const SyncSettings& settings, QWidget* parent = nullptr);
    SyncSettings settings() const;
    // Runs the connection test now and waits for it (the window keeps painting); its result is shown.
    void testConnection();
    QString testResult() const;

  private:
    void showResult(const QString& text);

    QLineEdit* m_server;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QPushButton* m_test;
    QLabel* m_result;
};
