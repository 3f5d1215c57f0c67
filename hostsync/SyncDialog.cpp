#include "SyncDialog.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

SyncDialog::SyncDialog(const SyncSettings& settings, QWidget* parent)
    : QDialog(parent), m_server(new QLineEdit(settings.server.toString(), this)),
      m_user(new QLineEdit(settings.user, this)), m_password(new QLineEdit(settings.password, this)),
      m_test(new QPushButton(u"测试连接(&T)"_s, this)), m_result(new QLabel(this))
{
    setWindowTitle(u"同步设置"_s);
    m_server->setObjectName(u"syncServer"_s);
    m_server->setPlaceholderText(u"https://example.org/dav/"_s);
    m_user->setObjectName(u"syncUser"_s);
    m_password->setObjectName(u"syncPassword"_s);
    m_password->setEchoMode(QLineEdit::Password);
    m_test->setObjectName(u"syncTest"_s);
    m_result->setObjectName(u"syncTestResult"_s);
    m_result->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(u"服务器地址(&S)："_s, m_server);
    form->addRow(u"用户名(&U)："_s, m_user);
    form->addRow(u"密码(&P)："_s, m_password);
    auto* hint =
        new QLabel(u"备忘录存放在 CalDAV 服务器上名为“备忘录”的日历里（没有就新建一个），每条一则笔记"
                   u"（VJOURNAL）。密码存放在桌面的钥匙环中。留空服务器地址即关闭同步。"_s,
                   this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_test, &QPushButton::clicked, this, &SyncDialog::testConnection);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(m_test, 0, Qt::AlignLeft);
    layout->addWidget(m_result);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

SyncSettings SyncDialog::settings() const
{
    return {QUrl(m_server->text().trimmed()), m_user->text().trimmed(), m_password->text()};
}

void SyncDialog::testConnection()
{
    m_test->setEnabled(false);
    m_result->setText(u"正在连接…"_s);
    const SyncSettings settings = this->settings();
    QString error;
    QUrl found;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] { found = FindCollection(settings, error); }));
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    if (found.isValid())
        showResult(u"连接成功，备忘录将同步到 %1"_s.arg(found.toString()));
    else if (error.contains(u"第一次同步时会建一个"_s))
        showResult(u"连接成功。"_s + error);
    else
        showResult(u"连接失败：%1"_s.arg(error));
    m_test->setEnabled(true);
}

void SyncDialog::showResult(const QString& text)
{
    m_result->setText(text);
    // A reason of several lines gets room of its own below the fields instead of squeezing them.
    if (const int needed = heightForWidth(width()); needed > height())
        resize(width(), needed);
}

QString SyncDialog::testResult() const
{
    return m_result->text();
}
