#include "config/ui/frm_connect_to_server.h"

#include "widgets/dialog_form.h"
#include "widgets/message_box.h"
#include "widgets/window_errors.h"
#include "config/data_module.h"
#include "base/person.h"
#include "config/settings.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>

#include <utility>

namespace pos {
namespace {

const char* const kFailureText = "不能连接到指定的服务器！请确认输入的信息正确。 ";

QLabel* hintStrip(QWidget* parent)
{
    auto* strip = new QLabel(QStringLiteral("服务器名称是指 SQL Server 服务器名称,也就是安装 SQL Server "
                                            "的计算机名称;管理员名称是指SQL Server的管理员名称(sa)"),
                             parent);
    strip->setObjectName(QStringLiteral("lblHint"));
    strip->setWordWrap(true);
    strip->setMargin(8);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, Qt::white);
    strip->setPalette(palette);
    return strip;
}

}  // namespace

TfrmConnectToServer::TfrmConnectToServer(Settings& settings, std::string registryDatabase, QWidget* parent)
    : TfrmBase(parent), settings_(settings), registryDatabase_(std::move(registryDatabase))
{
    setWindowTitle(QStringLiteral("配置服务器连接"));
    DialogForm form(this);
    if (auto* outer = qobject_cast<QBoxLayout*>(layout()))
        outer->insertWidget(0, hintStrip(this));
    edtServerName_ = form.addEdit(QStringLiteral("服务器名称："), "edtServerName");
    edtLoginName_ = form.addEdit(QStringLiteral("管理员名称："), "edtLoginName");
    edtLoginName_->setText(QStringLiteral("sa"));
    edtLoginPwd_ = form.addPasswordEdit(QStringLiteral("管理员口令："), "edtLoginPwd");
    btbOK_ = form.addButton(QStringLiteral("确定"), "btbOK");
    btbCancel_ = form.addButton(QStringLiteral("取消"), "btbCancel");
    connect(btbOK_, &QPushButton::clicked, this, &TfrmConnectToServer::btbOKClick);
    connect(btbCancel_, &QPushButton::clicked, this, &TfrmConnectToServer::reject);
    edtServerName_->setFocus();
}

void TfrmConnectToServer::showEvent(QShowEvent* event)
{
    TfrmBase::showEvent(event);
    if (!event->spontaneous())
        confirmed_ = false;
}

void TfrmConnectToServer::btbOKClick()
{
    const ServerLogin login{edtServerName_->text().trimmed().toStdString(),
                            edtLoginName_->text().trimmed().toStdString(),
                            edtLoginPwd_->text().trimmed().toStdString()};
    bool reached = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        reached = TDM::testServerConnection(login, registryDatabase_);
    }
    if (!reached) {
        showFailure();
        edtServerName_->selectAll();
        edtServerName_->setFocus();
        return;
    }
    if (!guarded("保存服务器设置", [&] { settings_.writeServerLogin(login); }))
        return;
    confirmed_ = true;
    accept();
}

void TfrmConnectToServer::showFailure()
{
    if (person_)
        person_->message(kFailureText, "提示", MessageIcon::Information);
    else
        showMessageBox(this, QString::fromUtf8(kFailureText), QStringLiteral("提示"), MessageIcon::Information);
}

}  // namespace pos
